// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmf_picture.h"

#include <cmath>
#include <cstdlib>

#include "byte_reader.h"
#include "wmf_objects.h"
#include "wmf_player.h"
#include "wmf_records.h"

namespace lvx {
namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kHeaderSize = 18;
// Frames beyond 10 m are taken as corrupt.
constexpr double kMaxSideHmm = 1.0e6;

// The pixels a device-independent bitmap's header claims; 0 for a header
// too short to tell.
qint64 ClaimedPixels(QByteArrayView dib) {
  ByteReader header(dib);
  const std::uint32_t headerSize = header.U32();
  qint64 width = 0;
  qint64 height = 0;
  if (headerSize == 12) {
    width = header.U16();
    height = header.U16();
  } else {
    width = header.I32();
    height = header.I32();
  }
  if (!header.ok()) return 0;
  return std::abs(width) * std::abs(height);
}

void DecodeImages(WmfContent& content) {
  qint64 pixelsLeft = WmfPicture::kMaxPixelsPerFile;
  wmf::ForEachRecord(content.data, content.firstRecord, [&](const wmf::Record& record) {
    QByteArrayView dib = wmf::BlitBitmap(record);
    // A pattern brush's bitmap follows its style and colour-usage words.
    if (record.function == wmf::kDibCreatePatternBrush && record.params.size() > 4) {
      dib = record.params.sliced(4);
    }
    if (dib.isEmpty()) return;
    const qint64 claimed = ClaimedPixels(dib);
    if (claimed > pixelsLeft) {
      pixelsLeft = 0;
      return;
    }
    pixelsLeft -= claimed;
    const QImage image = wmf::ImageFromDib(dib);
    if (!image.isNull()) content.images.insert(record.offset, image);
  });
}

}  // namespace

bool WmfPicture::Detect(QByteArrayView data) {
  ByteReader reader(data);
  return reader.U32() == kPlaceableKey;
}

std::shared_ptr<const WmfPicture> WmfPicture::Decode(const QByteArray& data) {
  ByteReader reader(data);
  if (reader.U32() != kPlaceableKey) return nullptr;
  reader.Skip(2);
  const double left = reader.I16();
  const double top = reader.I16();
  const double right = reader.I16();
  const double bottom = reader.I16();
  const double unitsPerInch = reader.U16();
  reader.Skip(6);
  const std::uint16_t type = reader.U16();
  const std::uint16_t headerWords = reader.U16();
  reader.Skip(6);
  const std::uint16_t objectCount = reader.U16();
  if (!reader.ok() || (type != 1 && type != 2) || headerWords != kHeaderSize / 2 ||
      unitsPerInch == 0) {
    return nullptr;
  }
  const double widthHmm = std::abs(right - left) * 2540.0 / unitsPerInch;
  const double heightHmm = std::abs(bottom - top) * 2540.0 / unitsPerInch;
  if (!(widthHmm > 0 && heightHmm > 0 && widthHmm <= kMaxSideHmm && heightHmm <= kMaxSideHmm)) {
    return nullptr;
  }
  WmfContent content;
  content.data = data;
  content.firstRecord = kPlaceableSize + kHeaderSize;
  content.frame = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
  content.objectCount = objectCount;
  if (!wmf::ForEachRecord(data, content.firstRecord, [](const wmf::Record&) {})) return nullptr;
  DecodeImages(content);
  return std::make_shared<const WmfPicture>(std::move(content), widthHmm, heightHmm);
}

WmfPicture::WmfPicture(WmfContent content, double widthHmm, double heightHmm)
    : content_(std::move(content)), widthHmm_(widthHmm), heightHmm_(heightHmm) {}

void WmfPicture::Draw(QPainter& painter, const QRectF& target) const {
  wmf::Player(painter, target, content_, &layers_).Play();
}

qint64 WmfPicture::Pixels() const {
  qint64 pixels = 0;
  for (const QImage& image : content_.images) pixels += qint64{image.width()} * image.height();
  return pixels;
}

qint64 WmfPicture::MemoryBytes() const {
  qint64 bytes = content_.data.size();
  for (const QImage& image : content_.images) bytes += image.sizeInBytes();
  return bytes + layers_.MemoryBytes();
}

}  // namespace lvx
