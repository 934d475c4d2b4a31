// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_windows.h"

#include <QGuiApplication>

namespace lvx {

ViewerWindows::ViewerWindows(ViewerSession& session, std::optional<PageWindowServices> services)
    : document_(session, qGuiApp->devicePixelRatio()),
      page_(document_, std::move(services)),
      upper_(document_, ZoomHalf::kUpper),
      lower_(document_, ZoomHalf::kLower),
      live_(document_, page_) {}

void ViewerWindows::Start() {
  page_.show();
  document_.ReadFirstPage();
}

}  // namespace lvx
