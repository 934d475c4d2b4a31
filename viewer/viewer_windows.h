// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "live_view.h"
#include "page_window.h"
#include "viewer_document.h"
#include "window_places.h"
#include "zoom_window.h"

namespace lvx {

// The viewer's windows over one started-up session: the shared document,
// the page window and the two zoom windows (created hidden). Needs a
// QApplication.
class ViewerWindows {
 public:
  // Without `services` the page window uses the desktop's; without
  // `devicePixelRatio` the drawings have the screen's.
  explicit ViewerWindows(ViewerSession& session,
                         std::optional<PageWindowServices> services = std::nullopt,
                         std::optional<qreal> devicePixelRatio = std::nullopt);
  ~ViewerWindows();
  ViewerWindows(const ViewerWindows&) = delete;
  ViewerWindows& operator=(const ViewerWindows&) = delete;

  // The end of start-up: the page window shown and page 1 drawn.
  void Start();

  ViewerDocument& document() { return document_; }
  PageWindow& page() { return page_; }
  ZoomWindow& zoom(ZoomHalf half) { return half == ZoomHalf::kUpper ? upper_ : lower_; }
  LiveView& live() { return live_; }

 private:
  ViewerDocument document_;
  PageWindow page_;
  ZoomWindow upper_;
  ZoomWindow lower_;
  LiveView live_;
  // Declared last: it remembers the windows' places before they go.
  WindowPlaces places_;
};

}  // namespace lvx
