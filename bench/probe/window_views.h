// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "page_image.h"
#include "page_reader.h"
#include "picture_cache.h"

namespace lvx::bench {

// The three views of the viewer's windows as they hold them: the page
// window's client area (461 by 537 logical pixels) in millimetres at 96
// dpi, and the two zoom windows' 779 by 540 pixel images with their
// stretched scale, over one reader with the programs' picture cache.
class WindowViews {
 public:
  explicit WindowViews(const std::string& docPath);

  // One page request as the page window makes it: clear all three views,
  // then read the next page.
  void RequestPage();

  PageReader& reader() { return reader_; }

 private:
  PageImage main_;
  PageImage upper_;
  PageImage lower_;
  PictureCache pictures_;
  PageReader reader_;
};

// The page window's client area: 6911 by 8055 twips at 15 twips a pixel.
inline constexpr QSize kPageClientPixels{461, 537};

}  // namespace lvx::bench
