// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace lvx {

// Little-endian reads from a block of bytes that never go past its end: a
// read beyond it yields 0 and leaves the reader failed for good.
class ByteReader {
 public:
  explicit ByteReader(QByteArrayView data, qsizetype pos = 0) : data_(data), pos_(pos) {
    if (pos < 0 || pos > data.size()) failed_ = true;
  }

  std::uint8_t U8() { return static_cast<std::uint8_t>(Read(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Read(2)); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Read(4)); }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

  // The next `count` bytes, or an empty view when fewer are left.
  QByteArrayView Bytes(qsizetype count) {
    if (!Has(count)) return {};
    const QByteArrayView bytes = data_.sliced(pos_, count);
    pos_ += count;
    return bytes;
  }
  void Skip(qsizetype count) {
    if (Has(count)) pos_ += count;
  }

  bool ok() const { return !failed_; }
  qsizetype pos() const { return pos_; }
  qsizetype remaining() const { return failed_ ? 0 : data_.size() - pos_; }

 private:
  bool Has(qsizetype count) {
    if (failed_ || count < 0 || count > data_.size() - pos_) failed_ = true;
    return !failed_;
  }
  std::uint64_t Read(int count) {
    if (!Has(count)) return 0;
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
      value |= std::uint64_t{static_cast<std::uint8_t>(data_[pos_ + i])} << (8 * i);
    }
    pos_ += count;
    return value;
  }

  QByteArrayView data_;
  qsizetype pos_ = 0;
  bool failed_ = false;
};

}  // namespace lvx
