// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster_picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include "bitmap_checks.h"
#include "device_pixels.h"

namespace lvx {
namespace {

constexpr double kHmmPerPixel = 2540.0 / 96.0;
// Scaled copies are kept up to a window's size.
constexpr int kMaxScaledSide = 4096;

// The format the first bytes announce, among the pixel formats documents
// may carry: Windows bitmaps, icons and cursors, GIF, JPEG and PNG. Empty
// for anything else, which is no picture here whatever reader Qt has for it.
QByteArray FormatByMagic(const QByteArray& data) {
  if (data.startsWith("BM")) return "bmp";
  if (data.startsWith("\x89PNG")) return "png";
  if (data.startsWith("\xFF\xD8\xFF")) return "jpeg";
  if (data.startsWith("GIF8")) return "gif";
  // An icon directory: reserved 0, type 1 (icon) or 2 (cursor).
  if (data.startsWith(QByteArrayView("\0\0\1\0", 4))) return "ico";
  if (data.startsWith(QByteArrayView("\0\0\2\0", 4))) return "cur";
  return {};
}

QImage Read(const QByteArray& data, const QByteArray& format) {
  QBuffer buffer;
  buffer.setData(data);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  // The content decides, not the name: documents often carry pictures
  // under the wrong extension. Only the reader of the format the first
  // bytes announce is asked.
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  reader.setAutoDetectImageFormat(false);
  reader.setAllocationLimit(RasterPicture::kAllocationLimitMb);
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

}  // namespace

std::shared_ptr<const RasterPicture> RasterPicture::Decode(const QByteArray& data) {
  if (!LooksComplete(data)) return nullptr;
  const QByteArray format = FormatByMagic(data);
  if (format.isEmpty()) return nullptr;
  QImage image = Read(data, format);
  if (image.isNull()) return nullptr;
  return std::make_shared<const RasterPicture>(std::move(image));
}

double RasterPicture::WidthHmm() const {
  return image_.width() * kHmmPerPixel;
}
double RasterPicture::HeightHmm() const {
  return image_.height() * kHmmPerPixel;
}

const QImage& RasterPicture::ScaledTo(QSize size) const {
  for (const QImage& scaled : scaled_) {
    if (scaled.size() == size) return scaled;
  }
  scaled_[1] = std::move(scaled_[0]);
  scaled_[0] = image_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return scaled_[0];
}

qint64 RasterPicture::MemoryBytes() const {
  qint64 bytes = image_.sizeInBytes();
  for (const QImage& scaled : scaled_) bytes += scaled.sizeInBytes();
  return bytes;
}

void RasterPicture::Draw(QPainter& painter, const QRectF& target) const {
  // On a window's image the picture is scaled once for its size there, in
  // the image's own pixels, and then copied, page after page; a printer gets
  // the picture itself.
  const QTransform toDevice = painter.combinedTransform();
  const QRectF onDevice = toDevice.mapRect(target);
  const QSize pixels(qRound(onDevice.width()), qRound(onDevice.height()));
  const bool onImage =
      painter.device()->devType() == QInternal::Image && toDevice.type() <= QTransform::TxScale;
  // A copy larger than the image it is drawn on would mostly be wasted.
  const qint64 devicePixels = qint64{painter.device()->width()} * painter.device()->height();
  if (onImage && !pixels.isEmpty() && pixels.width() <= kMaxScaledSide &&
      pixels.height() <= kMaxScaledSide &&
      qint64{pixels.width()} * pixels.height() <= devicePixels) {
    const QImage& scaled = ScaledTo(pixels);
    painter.save();
    UseDevicePixels(painter);
    painter.drawImage(QPoint(qRound(onDevice.left()), qRound(onDevice.top())), scaled);
    painter.restore();
    return;
  }
  if (onImage) {
    DrawVisiblePart(painter, onDevice);
    return;
  }
  painter.drawImage(target, image_);
}

// Drawing a large picture converts all of it to the device's format first:
// on a window's image, only the part that lands on it is taken.
void RasterPicture::DrawVisiblePart(QPainter& painter, const QRectF& onDevice) const {
  const QRectF visible =
      onDevice.intersected(QRectF(0, 0, painter.device()->width(), painter.device()->height()));
  if (visible.isEmpty()) return;
  const double toSourceX = image_.width() / onDevice.width();
  const double toSourceY = image_.height() / onDevice.height();
  const QRect source = QRectF((visible.left() - onDevice.left()) * toSourceX,
                              (visible.top() - onDevice.top()) * toSourceY,
                              visible.width() * toSourceX, visible.height() * toSourceY)
                           .toAlignedRect()
                           .intersected(image_.rect());
  const double toDeviceX = onDevice.width() / image_.width();
  const double toDeviceY = onDevice.height() / image_.height();
  const QRectF target(onDevice.left() + source.left() * toDeviceX,
                      onDevice.top() + source.top() * toDeviceY, source.width() * toDeviceX,
                      source.height() * toDeviceY);
  painter.save();
  UseDevicePixels(painter);
  painter.drawImage(target, image_.copy(source));
  painter.restore();
}

}  // namespace lvx
