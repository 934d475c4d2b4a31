// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QSizeF>
#include <QTransform>

namespace lvx {

// Logical dots per inch of the screen: 15 twips per pixel.
inline constexpr double kScreenDpi = 96.0;

// A zoom view's coordinate space and the client area it is stretched over
// (11685 by 8100 twips).
inline constexpr QSizeF kZoomUnits{210.0, 143.0};
inline constexpr QSize kZoomClientPixels{779, 540};

// How a view's units map onto its device's logical pixels: the point (x, y)
// lands at (x * this->x, y * this->y). The two differ when a coordinate
// space is stretched over a window of another shape.
struct ViewScale {
  double x = 1.0;
  double y = 1.0;

  // Millimetres on a device of `dotsPerInch` logical dots per inch: the
  // screen (kScreenDpi) or a printer (its resolution).
  static ViewScale Millimetres(double dotsPerInch);
  // `units` across and down spread over `pixels`.
  static ViewScale Stretched(QSizeF units, QSizeF pixels);
  // A zoom window's view: kZoomUnits over kZoomClientPixels.
  static ViewScale Zoom() { return Stretched(kZoomUnits, QSizeF(kZoomClientPixels)); }

  QTransform Transform() const { return QTransform::fromScale(x, y); }
};

}  // namespace lvx
