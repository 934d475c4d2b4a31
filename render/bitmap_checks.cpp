// SPDX-License-Identifier: GPL-3.0-or-later
#include "bitmap_checks.h"

#include <cstdint>

#include "byte_reader.h"

namespace lvx {
namespace {

std::uint8_t ByteAt(QByteArrayView data, qsizetype at) {
  return static_cast<std::uint8_t>(data[at]);
}

// Uncompressed bitmaps must hold every row of pixels; compressed ones at
// least start their pixel data inside the file.
bool BitmapComplete(QByteArrayView data) {
  ByteReader header(data, 10);
  const std::uint32_t pixelOffset = header.U32();
  const std::uint32_t headerSize = header.U32();
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t compression = 0;
  if (headerSize == 12) {
    width = header.U16();
    height = header.U16();
    header.Skip(2);
    bitsPerPixel = header.U16();
  } else if (headerSize >= 40) {
    width = header.I32();
    height = header.I32();
    header.Skip(2);
    bitsPerPixel = header.U16();
    compression = header.U32();
  } else {
    return false;
  }
  if (!header.ok() || width <= 0 || height == 0 || bitsPerPixel == 0) return false;
  constexpr std::uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) {
    return pixelOffset < static_cast<std::uint64_t>(data.size());
  }
  const std::int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
  const std::int64_t rows = height < 0 ? -height : height;
  // Both factors are below 2^37, so the product cannot overflow.
  return pixelOffset + rowBytes * rows <= static_cast<std::int64_t>(data.size());
}

bool IsStandaloneMarker(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// Skips entropy-coded data: inside it 0xFF is followed by 0x00 (a stuffed
// byte) or a restart marker, so any other pair starts the next segment.
qsizetype SkipScan(QByteArrayView data, qsizetype pos) {
  for (; pos + 1 < data.size(); ++pos) {
    const std::uint8_t next = ByteAt(data, pos + 1);
    if (ByteAt(data, pos) == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7)) return pos;
  }
  return -1;
}

// A JPEG is complete when its segments run on to the end-of-image marker.
bool JpegComplete(QByteArrayView data) {
  qsizetype pos = 2;
  while (pos < data.size()) {
    if (ByteAt(data, pos) != 0xFF) return false;
    while (pos < data.size() && ByteAt(data, pos) == 0xFF) ++pos;
    if (pos >= data.size()) return false;
    const std::uint8_t marker = ByteAt(data, pos++);
    if (marker == 0xD9) return true;
    if (IsStandaloneMarker(marker)) continue;
    if (pos + 2 > data.size()) return false;
    const qsizetype length = ByteAt(data, pos) << 8 | ByteAt(data, pos + 1);
    if (length < 2 || pos + length > data.size()) return false;
    pos += length;
    if (marker == 0xDA) {
      pos = SkipScan(data, pos);
      if (pos < 0) return false;
    }
  }
  return false;
}

bool SkipSubBlocks(ByteReader& reader) {
  for (std::uint8_t length = reader.U8(); reader.ok() && length != 0; length = reader.U8()) {
    reader.Skip(length);
  }
  return reader.ok();
}

// A GIF is complete when its blocks run on to the trailer.
bool GifComplete(QByteArrayView data) {
  ByteReader reader(data, 10);
  const std::uint8_t flags = reader.U8();
  reader.Skip(2);
  if (flags & 0x80) reader.Skip(3 << ((flags & 7) + 1));
  while (reader.ok()) {
    switch (reader.U8()) {
      case 0x3B:
        return reader.ok();
      case 0x21:
        reader.Skip(1);
        if (!SkipSubBlocks(reader)) return false;
        break;
      case 0x2C: {
        reader.Skip(8);
        const std::uint8_t local = reader.U8();
        if (local & 0x80) reader.Skip(3 << ((local & 7) + 1));
        reader.Skip(1);
        if (!SkipSubBlocks(reader)) return false;
        break;
      }
      default:
        return false;
    }
  }
  return false;
}

// Every image an icon file lists must lie inside the file.
bool IconComplete(QByteArrayView data) {
  ByteReader reader(data, 4);
  const std::uint16_t count = reader.U16();
  if (count == 0) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    reader.Skip(8);
    const std::uint64_t size = reader.U32();
    const std::uint64_t offset = reader.U32();
    if (!reader.ok() || size == 0 || offset + size > static_cast<std::uint64_t>(data.size())) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool LooksComplete(QByteArrayView data) {
  if (data.startsWith("BM")) return BitmapComplete(data);
  if (data.startsWith("\xFF\xD8\xFF")) return JpegComplete(data);
  if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) return GifComplete(data);
  if (data.size() >= 4 && data.startsWith(QByteArrayView("\0\0", 2)) &&
      (ByteAt(data, 2) == 1 || ByteAt(data, 2) == 2) && ByteAt(data, 3) == 0) {
    return IconComplete(data);
  }
  return true;
}

}  // namespace lvx
