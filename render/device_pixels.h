// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <QTransform>

namespace lvx {

// Makes `painter` draw in its device's own pixels. On a high-density image
// the painter otherwise multiplies every coordinate by the device pixel
// ratio, also those already taken from combinedTransform(), which includes
// that ratio: a picture placed that way lands at twice its place.
inline void UseDevicePixels(QPainter& painter) {
  const qreal ratio = painter.device()->devicePixelRatioF();
  painter.setTransform(QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
}

}  // namespace lvx
