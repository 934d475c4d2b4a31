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
  // A screen of device pixel ratio `ratio` gets that many more pixels.
  explicit PageFixture(const std::string& docFolder = ".", qreal ratio = 1.0)
      : main(HalfPagePixels(), ViewScale::Millimetres(kScreenDpi), ratio),
        upper(kZoomClientPixels, ViewScale::Zoom(), ratio),
        lower(kZoomClientPixels, ViewScale::Zoom(), ratio) {
    handlers.SetDocFolder(docFolder);
  }

  PageImage main;
  PageImage upper;
  PageImage lower;
  RecordScanner scanner;
  std::int16_t pageNumber = 1;
  PictureCache pictures;
  SplitViewHandlers handlers{scanner, SplitViews{main.view(), upper.view(), lower.view()},
                             pageNumber, &pictures};

  // Dispatches one record line.
  void Run(const std::string& line) {
    scanner.SetRecord(line);
    DispatchRecord(scanner, handlers);
  }
};

}  // namespace lvx::testing
