// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "bitmap_checks.h"

namespace lvx {
namespace {

constexpr double kHmmPerPixel = 2540.0 / 96.0;

// The format the first bytes announce, for the formats documents carry
// most; empty for the others.
QByteArray FormatByMagic(const QByteArray& data) {
  if (data.startsWith("BM")) return "bmp";
  if (data.startsWith("\x89PNG")) return "png";
  if (data.startsWith("\xFF\xD8\xFF")) return "jpeg";
  if (data.startsWith("GIF8")) return "gif";
  return {};
}

QImage Read(const QByteArray& data, const QByteArray& format) {
  QBuffer buffer;
  buffer.setData(data);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  QImageReader reader(&buffer, format);
  // The content decides, not the name: documents often carry pictures
  // under the wrong extension. Without a format known from the first
  // bytes, every image reader is asked; with one, only its own.
  reader.setDecideFormatFromContent(format.isEmpty());
  reader.setAutoDetectImageFormat(format.isEmpty());
  reader.setAllocationLimit(RasterPicture::kAllocationLimitMb);
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

}  // namespace

std::shared_ptr<const RasterPicture> RasterPicture::Decode(const QByteArray& data) {
  if (!LooksComplete(data)) return nullptr;
  // Asking every image reader loads every image plugin with its libraries;
  // a known format goes straight to its reader.
  const QByteArray format = FormatByMagic(data);
  QImage image = Read(data, format);
  if (image.isNull() && !format.isEmpty()) image = Read(data, {});
  if (image.isNull()) return nullptr;
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
