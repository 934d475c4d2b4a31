// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace lvx {

// Window layouts are given in twips (1/1440 inch); the screen has 15 twips
// to a logical pixel. A length rounds to the nearest pixel, half a pixel up,
// so that a layout drawn to the twip loses no more than half a pixel.
inline constexpr double kTwipsPerPixel = 15.0;

constexpr int PixelsFromTwips(int twips) {
  const double pixels = twips / kTwipsPerPixel;
  return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
  return {PixelsFromTwips(left), PixelsFromTwips(top), PixelsFromTwips(width),
          PixelsFromTwips(height)};
}

// Millimetres of a logical pixel distance on the 96-dpi screen.
inline double MillimetresFromPixels(double pixels) {
  return pixels * 25.4 / 96.0;
}

}  // namespace lvx
