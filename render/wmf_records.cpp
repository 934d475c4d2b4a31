// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmf_records.h"

#include "byte_reader.h"

namespace lvx::wmf {

bool ForEachRecord(QByteArrayView data, qsizetype first,
                   const std::function<void(const Record&)>& visit) {
  ByteReader reader(data, first);
  while (reader.remaining() >= 6) {
    const qsizetype offset = reader.pos();
    const std::uint64_t bytes = std::uint64_t{reader.U32()} * 2;
    const std::uint16_t function = reader.U16();
    if (bytes < 6 || bytes - 6 > static_cast<std::uint64_t>(reader.remaining())) return false;
    if (function == kEof) return true;
    visit(Record{offset, function, reader.Bytes(static_cast<qsizetype>(bytes - 6))});
  }
  return false;
}

bool IsPatternBlit(const Record& record) {
  // Such a blit is exactly as long as its fixed part plus a reserved word,
  // which its function's high byte tells.
  if (record.function != kDibStretchBlt && record.function != kDibBitBlt) return false;
  return record.params.size() == ((record.function >> 8) + 3) * 2 - 6;
}

QByteArrayView BlitBitmap(const Record& record) {
  // Fixed parameters ahead of the bitmap: the raster operation and the
  // 16-bit coordinates.
  qsizetype fixed = 0;
  switch (record.function) {
    case kStretchDib:
      fixed = 4 + 2 + 8 * 2;
      break;
    case kDibStretchBlt:
      fixed = 4 + 8 * 2;
      break;
    case kDibBitBlt:
      fixed = 4 + 6 * 2;
      break;
    default:
      return {};
  }
  if (IsPatternBlit(record) || record.params.size() <= fixed) return {};
  return record.params.sliced(fixed);
}

}  // namespace lvx::wmf
