// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "bitmap_checks.h"

namespace lvx {
namespace {

constexpr double kHmmPerPixel = 2540.0 / 96.0;

}  // namespace

std::shared_ptr<const RasterPicture> RasterPicture::Decode(const QByteArray& data) {
  if (!LooksComplete(data)) return nullptr;
  QBuffer buffer;
  buffer.setData(data);
  if (!buffer.open(QIODevice::ReadOnly)) return nullptr;
  QImageReader reader(&buffer);
  // The content decides, not the name: documents often carry pictures
  // under the wrong extension.
  reader.setDecideFormatFromContent(true);
  reader.setAllocationLimit(kAllocationLimitMb);
  QImage image;
  if (!reader.read(&image) || image.isNull()) return nullptr;
  return std::make_shared<const RasterPicture>(std::move(image));
}

double RasterPicture::WidthHmm() const {
  return image_.width() * kHmmPerPixel;
}
double RasterPicture::HeightHmm() const {
  return image_.height() * kHmmPerPixel;
}

void RasterPicture::Draw(QPainter& painter, const QRectF& target) const {
  painter.drawImage(target, image_);
}

}  // namespace lvx
