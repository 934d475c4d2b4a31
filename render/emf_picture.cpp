// SPDX-License-Identifier: GPL-3.0-or-later
#include "emf_picture.h"

#include <emf2svg.h>

#include <QPainter>
#include <QSvgRenderer>
#include <cstdlib>
#include <optional>

#include "byte_reader.h"

namespace lvx {
namespace {

constexpr std::uint32_t kHeaderRecord = 1;
constexpr std::uint32_t kEndOfFileRecord = 14;
constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr qsizetype kMinHeaderSize = 88;
// Frames beyond 10 m are taken as corrupt.
constexpr double kMaxSideHmm = 1.0e6;

struct Rect32 {
  double left, top, right, bottom;
};

Rect32 ReadRect(ByteReader& reader) {
  Rect32 rect{};
  rect.left = reader.I32();
  rect.top = reader.I32();
  rect.right = reader.I32();
  rect.bottom = reader.I32();
  return rect;
}

// What the header says: where things are drawn on the reference device
// (the SVG's units), the frame in hundredths of a millimetre, and the
// device's pixels per millimetre.
struct EmfHeader {
  Rect32 bounds;
  Rect32 frame;
  double pixelsPerMmX;
  double pixelsPerMmY;
};

std::optional<EmfHeader> ReadHeader(QByteArrayView data) {
  ByteReader reader(data);
  if (reader.U32() != kHeaderRecord) return std::nullopt;
  const std::uint32_t headerSize = reader.U32();
  EmfHeader header{};
  header.bounds = ReadRect(reader);
  header.frame = ReadRect(reader);
  if (reader.U32() != kSignature) return std::nullopt;
  reader.Skip(4);
  const std::uint32_t totalBytes = reader.U32();
  reader.Skip(20);
  const double devicePixelsX = reader.I32();
  const double devicePixelsY = reader.I32();
  double millimetresX = reader.I32();
  double millimetresY = reader.I32();
  if (headerSize >= 108) {
    // Micrometres, where given, are the finer measure of the same device.
    reader.Skip(12);
    const double micrometresX = reader.I32();
    const double micrometresY = reader.I32();
    if (micrometresX > 0 && micrometresY > 0) {
      millimetresX = micrometresX / 1000.0;
      millimetresY = micrometresY / 1000.0;
    }
  }
  if (!reader.ok() || headerSize < kMinHeaderSize || headerSize > totalBytes ||
      totalBytes > static_cast<std::uint64_t>(data.size()) || devicePixelsX <= 0 ||
      devicePixelsY <= 0 || millimetresX <= 0 || millimetresY <= 0) {
    return std::nullopt;
  }
  header.pixelsPerMmX = devicePixelsX / millimetresX;
  header.pixelsPerMmY = devicePixelsY / millimetresY;
  return header;
}

// The records must follow each other, each inside the data, up to the
// end-of-file record: anything else is a file cut short or corrupt.
bool RecordsRunToEnd(QByteArrayView data) {
  ByteReader reader(data);
  while (reader.remaining() >= 8) {
    const std::uint32_t type = reader.U32();
    const std::uint32_t size = reader.U32();
    if (size < 8 || size % 4 != 0 || size - 8 > static_cast<std::uint64_t>(reader.remaining())) {
      return false;
    }
    if (type == kEndOfFileRecord) return true;
    reader.Skip(size - 8);
  }
  return false;
}

std::unique_ptr<QSvgRenderer> ToSvg(const QByteArray& data) {
  QByteArray input = data;  // the converter takes a writable buffer
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("svg");
  options.svgDelimiter = true;
  char* svg = nullptr;
  size_t svgLength = 0;
  const int converted =
      emf2svg(input.data(), static_cast<size_t>(input.size()), &svg, &svgLength, &options);
  std::unique_ptr<char, decltype(&std::free)> owned(svg, &std::free);
  if (converted != 1 || svg == nullptr) return nullptr;
  auto renderer =
      std::make_unique<QSvgRenderer>(QByteArray(svg, static_cast<qsizetype>(svgLength)));
  if (!renderer->isValid()) return nullptr;
  return renderer;
}

}  // namespace

bool EmfPicture::Detect(QByteArrayView data) {
  ByteReader reader(data);
  const std::uint32_t type = reader.U32();
  reader.Skip(36);
  return reader.U32() == kSignature && type == kHeaderRecord;
}

std::shared_ptr<const EmfPicture> EmfPicture::Decode(const QByteArray& data) {
  const std::optional<EmfHeader> header = ReadHeader(data);
  if (!header || !RecordsRunToEnd(data)) return nullptr;
  // The frame's end points are inside it.
  const Rect32& frame = header->frame;
  const double widthHmm = frame.right - frame.left + 1;
  const double heightHmm = frame.bottom - frame.top + 1;
  if (!(widthHmm > 0 && heightHmm > 0 && widthHmm <= kMaxSideHmm && heightHmm <= kMaxSideHmm)) {
    return nullptr;
  }
  std::unique_ptr<QSvgRenderer> svg = ToSvg(data);
  if (!svg) return nullptr;
  // The SVG covers the inked bounds in device pixels, shifted to start at
  // their corner; the picture is its frame, which may reach beyond them.
  const QRectF frameInSvg(frame.left / 100.0 * header->pixelsPerMmX - header->bounds.left,
                          frame.top / 100.0 * header->pixelsPerMmY - header->bounds.top,
                          widthHmm / 100.0 * header->pixelsPerMmX,
                          heightHmm / 100.0 * header->pixelsPerMmY);
  return std::make_shared<const EmfPicture>(std::move(svg), frameInSvg, widthHmm, heightHmm,
                                            data.size());
}

EmfPicture::EmfPicture(std::unique_ptr<QSvgRenderer> svg, QRectF frameInSvg, double widthHmm,
                       double heightHmm, qint64 bytes)
    : svg_(std::move(svg)),
      frameInSvg_(frameInSvg),
      widthHmm_(widthHmm),
      heightHmm_(heightHmm),
      bytes_(bytes) {
  svg_->setViewBox(frameInSvg_);
}

EmfPicture::~EmfPicture() = default;

void EmfPicture::Draw(QPainter& painter, const QRectF& target) const {
  svg_->render(&painter, target);
}

}  // namespace lvx
