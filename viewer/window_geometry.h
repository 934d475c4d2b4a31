// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <cmath>

namespace lvx {

// Window layouts are given in twips (1/1440 inch); the screen has 15 twips
// to a logical pixel.
inline constexpr double kTwipsPerPixel = 15.0;

constexpr int PixelsFromTwips(int twips) {
  return static_cast<int>(twips / kTwipsPerPixel + 0.5);
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return {PixelsFromTwips(left), PixelsFromTwips(top), PixelsFromTwips(width),
          PixelsFromTwips(height)};
}

// Millimetres of a logical pixel distance on the 96-dpi screen.
inline double MillimetresFromPixels(double pixels) {
  return pixels * 25.4 / 96.0;
}

// The client areas: the page window's holds the page and the button panel,
// a zoom window's its half page and its three buttons.
inline constexpr QSize kPageClientSize{PixelsFromTwips(6911), PixelsFromTwips(8055)};
inline constexpr QSize kZoomClientSize{PixelsFromTwips(11685), PixelsFromTwips(8100)};

}  // namespace lvx
