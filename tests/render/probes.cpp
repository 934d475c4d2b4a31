// SPDX-License-Identifier: GPL-3.0-or-later
#include "probes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lvx::testing {

QRgb PixelAt(const QImage& image, const ViewScale& scale, double x, double y) {
  return image.pixel(static_cast<int>(std::floor(x * scale.x)),
                     static_cast<int>(std::floor(y * scale.y)));
}

bool IsWhite(QRgb pixel) {
  return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

bool IsRed(QRgb pixel) {
  return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

bool IsBlue(QRgb pixel) {
  return qBlue(pixel) > 200 && qRed(pixel) < 60 && qGreen(pixel) < 60;
}

QRect InkBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink) {
  QRect bounds;
  const QRect inside = area & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      if (ink(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

QRect InkBounds(const QImage& image) {
  return InkBounds(image, image.rect(), [](QRgb pixel) { return !IsWhite(pixel); });
}

void ExpectEdges(const QRect& ink, const QRectF& expected) {
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_NEAR(ink.left(), expected.left(), 1.0);
  EXPECT_NEAR(ink.right() + 1, expected.right(), 1.5);
  EXPECT_NEAR(ink.top(), expected.top(), 1.0);
  EXPECT_NEAR(ink.bottom() + 1, expected.bottom(), 1.5);
}

}  // namespace lvx::testing
