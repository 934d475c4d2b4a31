// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_windows.h"

#include <QGuiApplication>

#include "button_layout.h"
#include "window_geometry.h"

namespace lvx {

ViewerWindows::ViewerWindows(ViewerSession& session, std::optional<PageWindowServices> services,
                             std::optional<qreal> devicePixelRatio)
    : document_(session, devicePixelRatio.value_or(qGuiApp->devicePixelRatio())),
      page_(document_, std::move(services)),
      upper_(document_, ZoomHalf::kUpper),
      lower_(document_, ZoomHalf::kLower),
      live_(document_, page_) {
  places_.Watch(page_);
  const int panelLeft = PixelsFromTwips(kPanelTwips.left());
  places_.Watch(upper_, &page_, panelLeft);
  places_.Watch(lower_, &page_, panelLeft);
}

ViewerWindows::~ViewerWindows() = default;

void ViewerWindows::Start() {
  page_.show();
  document_.ReadFirstPage();
}

}  // namespace lvx
