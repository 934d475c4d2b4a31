// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "picture.h"

namespace lvx {

// Draws the page requests a viewer makes on the document at `docPath` (as
// TracePages counts them) into images like the viewer's windows hold: the
// main view's half-size page at 96 dpi and the upper and lower zoom views
// at their 779 by 540 pixel client size. Each page is written as
// DIR/page-N-main.png, page-N-upper.png and page-N-lower.png, N counting
// the pages from 1. Returns the paths written; throws std::runtime_error
// when a file cannot be written. Needs a QGuiApplication.
std::vector<std::string> WritePagePngs(const std::string& docPath, const std::string& dir,
                                       std::optional<int> requests, PictureLoader* loader);

}  // namespace lvx
