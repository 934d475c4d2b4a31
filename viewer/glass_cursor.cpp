// SPDX-License-Identifier: GPL-3.0-or-later
#include "glass_cursor.h"

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <cmath>

namespace lvx {
namespace {

constexpr int kSize = 32;
constexpr int kHotX = 9;
constexpr int kHotY = 8;
// Radii around the lens's centre: glass inside, black rim, white halo that
// keeps the rim visible on dark pages.
constexpr double kGlassRadius = 5.5;
constexpr double kRimRadius = 7.5;
constexpr double kHaloRadius = 8.5;

// Distance of (x, y) from the handle's axis, which runs from the rim
// towards the lower right; large when (x, y) lies beyond the axis's ends.
double HandleDistance(int x, int y) {
  const double startX = kHotX + 5.0, startY = kHotY + 5.0;
  const double endX = kHotX + 13.0, endY = kHotY + 13.0;
  const double dx = endX - startX, dy = endY - startY;
  const double t = ((x - startX) * dx + (y - startY) * dy) / (dx * dx + dy * dy);
  if (t < 0.0 || t > 1.0) return 100.0;
  return std::hypot(x - (startX + t * dx), y - (startY + t * dy));
}

}  // namespace

QCursor GlassCursor() {
  // Bit 1 of the bitmap is black, bit 0 white; the mask says which pixels
  // show at all.
  // A mono image starts with index 0 black and 1 white, the other way
  // round from a bitmap's; QBitmap::fromImage would invert both images
  // and turn the glass into a black square with a glass-shaped hole.
  QImage bits(kSize, kSize, QImage::Format_MonoLSB);
  QImage mask(kSize, kSize, QImage::Format_MonoLSB);
  for (QImage* image : {&bits, &mask}) {
    image->setColor(0, QColor(Qt::color0).rgb());
    image->setColor(1, QColor(Qt::color1).rgb());
  }
  bits.fill(0);
  mask.fill(0);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double lens = std::hypot(x - kHotX, y - kHotY);
      const double handle = HandleDistance(x, y);
      const bool black = (lens > kGlassRadius && lens <= kRimRadius) || handle <= 1.5;
      const bool shown = lens <= kHaloRadius || handle <= 2.5;
      bits.setPixel(x, y, black ? 1 : 0);
      mask.setPixel(x, y, shown || black ? 1 : 0);
    }
  }
  return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), kHotX, kHotY);
}

}  // namespace lvx
