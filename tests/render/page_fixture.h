// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "page_image.h"
#include "picture_cache.h"
#include "record_handlers.h"
#include "split_view_handlers.h"

namespace lvx::testing {

// The viewer's three views as images (main at half scale in screen
// millimetres, the zoom views stretched over their client areas) with the
// viewer's record handlers over them.
struct PageFixture {
  PageImage main{HalfPagePixels(), ViewScale::Millimetres(kScreenDpi)};
  PageImage upper{kZoomClientPixels, ViewScale::Zoom()};
  PageImage lower{kZoomClientPixels, ViewScale::Zoom()};
  RecordScanner scanner;
  std::int16_t pageNumber = 1;
  PictureCache pictures;
  SplitViewHandlers handlers{scanner, SplitViews{main.view(), upper.view(), lower.view()},
                             pageNumber, &pictures};

  explicit PageFixture(const std::string& docFolder = ".") { handlers.SetDocFolder(docFolder); }

  // Dispatches one record line.
  void Run(const std::string& line) {
    scanner.SetRecord(line);
    DispatchRecord(scanner, handlers);
  }
};

}  // namespace lvx::testing
