// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <functional>

#include "view_scale.h"

namespace lvx::testing {

// The pixel of `image` under the point (x, y) of a view's units.
QRgb PixelAt(const QImage& image, const ViewScale& scale, double x, double y);

bool IsWhite(QRgb pixel);
bool IsRed(QRgb pixel);
bool IsBlue(QRgb pixel);

// The smallest rectangle holding every pixel of `area` that `ink` accepts;
// empty when none does.
QRect InkBounds(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& ink);
// InkBounds over the whole image of the pixels that are not white.
QRect InkBounds(const QImage& image);

// Expects the edges of `ink` within a pixel of `expected`'s, its right and
// bottom edges within one and a half.
void ExpectEdges(const QRect& ink, const QRectF& expected);

}  // namespace lvx::testing
