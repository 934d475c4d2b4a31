// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_image.h"

#include <cmath>

namespace lvx {
namespace {

QImage WhiteImage(QSize size, qreal devicePixelRatio) {
  // Rounded up, so that a fractional ratio leaves no window pixel uncovered.
  const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                     static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
  QImage image(pixels, QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatio);
  const int dotsPerMetre = static_cast<int>(std::lround(kScreenDpi / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  return image;
}

}  // namespace

PageImage::PageImage(QSize size, ViewScale scale, qreal devicePixelRatio)
    : image_(WhiteImage(size, devicePixelRatio)), view_(image_, scale) {
  view_.WhitenOnlyWhatIsDrawn();
}

QSize HalfPagePixels() {
  const ViewScale mm = ViewScale::Millimetres(kScreenDpi);
  return {static_cast<int>(std::ceil(105.0 * mm.x)), static_cast<int>(std::ceil(148.5 * mm.y))};
}

}  // namespace lvx
