// SPDX-License-Identifier: GPL-3.0-or-later
#include "metafile_builder.h"

#include <QBuffer>
#include <cstring>

namespace lvx::testing {
namespace {

void Put16(QByteArray& bytes, std::uint16_t value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>(value >> 8));
}

void Put32(QByteArray& bytes, std::uint32_t value) {
  Put16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(bytes, static_cast<std::uint16_t>(value >> 16));
}

std::uint16_t Word(int value) {
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
}

}  // namespace

WmfBuilder::WmfBuilder(QRect frame, std::uint16_t unitsPerInch)
    : frame_(frame), unitsPerInch_(unitsPerInch) {}

WmfBuilder& WmfBuilder::Record(std::uint16_t function, std::vector<std::uint16_t> words) {
  words.insert(words.begin(), function);
  records_.push_back(std::move(words));
  return *this;
}

WmfBuilder& WmfBuilder::Object(std::uint16_t function, std::vector<std::uint16_t> words) {
  ++objects_;
  return Record(function, std::move(words));
}

WmfBuilder& WmfBuilder::SolidBrush(std::uint32_t bgr) {
  ++objects_;
  return Record(0x02FC,
                {0, Word(static_cast<int>(bgr & 0xFFFF)), Word(static_cast<int>(bgr >> 16)), 0});
}

WmfBuilder& WmfBuilder::NullPen() {
  ++objects_;
  return Record(0x02FA, {5, 0, 0, 0, 0});
}

WmfBuilder& WmfBuilder::Select(std::uint16_t slot) {
  return Record(0x012D, {slot});
}

WmfBuilder& WmfBuilder::Rectangle(QRect rect) {
  // Right and bottom are the edges, not the last unit inside.
  return Record(0x041B, {Word(rect.y() + rect.height()), Word(rect.x() + rect.width()),
                         Word(rect.y()), Word(rect.x())});
}

WmfBuilder& WmfBuilder::WindowOrg(int x, int y) {
  return Record(0x020B, {Word(y), Word(x)});
}
WmfBuilder& WmfBuilder::WindowExt(int x, int y) {
  return Record(0x020C, {Word(y), Word(x)});
}

WmfBuilder& WmfBuilder::Font(int height, const char* face) {
  ++objects_;
  // Negative: the height of the characters, not of the whole cell.
  std::vector<std::uint16_t> words = {Word(-height), 0, 0, 0, 400, 0, 0, 0, 0};
  char name[32] = {};
  std::strncpy(name, face, sizeof name - 1);
  for (std::size_t i = 0; i < sizeof name; i += 2) {
    words.push_back(static_cast<std::uint16_t>(static_cast<std::uint8_t>(name[i]) |
                                               static_cast<std::uint8_t>(name[i + 1]) << 8));
  }
  return Record(0x02FB, words);
}

WmfBuilder& WmfBuilder::TextOut(int x, int y, const char* text) {
  const std::size_t length = std::strlen(text);
  std::vector<std::uint16_t> words = {static_cast<std::uint16_t>(length)};
  for (std::size_t i = 0; i < length; i += 2) {
    const auto high = static_cast<std::uint8_t>(i + 1 < length ? text[i + 1] : 0);
    words.push_back(static_cast<std::uint16_t>(static_cast<std::uint8_t>(text[i]) | high << 8));
  }
  words.push_back(Word(y));
  words.push_back(Word(x));
  return Record(0x0521, words);
}

WmfBuilder& WmfBuilder::TransparentText() {
  return Record(0x0102, {1});
}

WmfBuilder& WmfBuilder::PatBlt(QRect target, std::uint32_t rop) {
  return Record(0x061D,
                {Word(static_cast<int>(rop & 0xFFFF)), Word(static_cast<int>(rop >> 16)),
                 Word(target.height()), Word(target.width()), Word(target.y()), Word(target.x())});
}

WmfBuilder& WmfBuilder::StretchDib(QRect target, const QImage& image, std::uint32_t rop) {
  // The operation, DIB colours; source and destination corner and size.
  std::vector<std::uint16_t> words = {Word(static_cast<int>(rop & 0xFFFF)),
                                      Word(static_cast<int>(rop >> 16)),
                                      0,
                                      Word(image.height()),
                                      Word(image.width()),
                                      0,
                                      0,
                                      Word(target.height()),
                                      Word(target.width()),
                                      Word(target.y()),
                                      Word(target.x())};
  const std::vector<std::uint16_t> dib = Dib(image);
  words.insert(words.end(), dib.begin(), dib.end());
  return Record(0x0F43, words);
}

std::vector<std::uint16_t> WmfBuilder::Dib(const QImage& image) {
  // A device-independent bitmap is a bitmap file without its file header.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  bytes.remove(0, 14);
  if (bytes.size() % 2 != 0) bytes.append('\0');
  std::vector<std::uint16_t> words;
  for (qsizetype i = 0; i < bytes.size(); i += 2) {
    words.push_back(static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                               static_cast<std::uint8_t>(bytes[i + 1]) << 8));
  }
  return words;
}

QByteArray WmfBuilder::Bytes() const {
  QByteArray placeable;
  Put32(placeable, 0x9AC6CDD7);
  Put16(placeable, 0);
  Put16(placeable, Word(frame_.left()));
  Put16(placeable, Word(frame_.top()));
  Put16(placeable, Word(frame_.x() + frame_.width()));
  Put16(placeable, Word(frame_.y() + frame_.height()));
  Put16(placeable, unitsPerInch_);
  Put32(placeable, 0);
  std::uint16_t checksum = 0;
  for (int i = 0; i < 20; i += 2) {
    checksum ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(placeable[i]) |
                                           static_cast<std::uint8_t>(placeable[i + 1]) << 8);
  }
  Put16(placeable, checksum);

  QByteArray records;
  std::uint32_t words = 9;
  std::uint32_t longest = 3;
  auto put = [&](const std::vector<std::uint16_t>& record) {
    const auto size = static_cast<std::uint32_t>(record.size() + 2);
    Put32(records, size);
    for (const std::uint16_t word : record) Put16(records, word);
    words += size;
    longest = std::max(longest, size);
  };
  for (const auto& record : records_) put(record);
  put({0x0000});

  QByteArray header;
  Put16(header, 1);
  Put16(header, 9);
  Put16(header, 0x0300);
  Put32(header, words);
  Put16(header, objects_);
  Put32(header, longest);
  Put16(header, 0);
  return placeable + header + records;
}

EmfBuilder::EmfBuilder(QRect bounds, QRect frameHmm, QSize devicePixels, QSize deviceMm)
    : bounds_(bounds), frame_(frameHmm), devicePixels_(devicePixels), deviceMm_(deviceMm) {}

EmfBuilder& EmfBuilder::Record(std::uint32_t type, std::vector<std::uint32_t> values) {
  values.insert(values.begin(), type);
  records_.push_back(std::move(values));
  return *this;
}

EmfBuilder& EmfBuilder::SolidBrush(std::uint32_t slot, std::uint32_t bgr) {
  return Record(39, {slot, 0, bgr, 0});
}

EmfBuilder& EmfBuilder::NullPen() {
  return Select(0x80000008);
}
EmfBuilder& EmfBuilder::Select(std::uint32_t slot) {
  return Record(37, {slot});
}

EmfBuilder& EmfBuilder::Rectangle(QRect rect) {
  return Record(43,
                {static_cast<std::uint32_t>(rect.left()), static_cast<std::uint32_t>(rect.top()),
                 static_cast<std::uint32_t>(rect.x() + rect.width()),
                 static_cast<std::uint32_t>(rect.y() + rect.height())});
}

QByteArray EmfBuilder::Bytes() const {
  QByteArray body;
  for (const auto& record : records_) {
    Put32(body, record[0]);
    Put32(body, static_cast<std::uint32_t>(4 * (record.size() + 1)));
    for (std::size_t i = 1; i < record.size(); ++i) Put32(body, record[i]);
  }
  Put32(body, 14);  // end of file: no palette
  Put32(body, 20);
  Put32(body, 0);
  Put32(body, 16);
  Put32(body, 20);

  constexpr std::uint32_t kHeaderSize = 88;
  QByteArray header;
  Put32(header, 1);
  Put32(header, kHeaderSize);
  for (const QRect& rect : {bounds_, frame_}) {
    Put32(header, static_cast<std::uint32_t>(rect.left()));
    Put32(header, static_cast<std::uint32_t>(rect.top()));
    Put32(header, static_cast<std::uint32_t>(rect.right()));
    Put32(header, static_cast<std::uint32_t>(rect.bottom()));
  }
  Put32(header, 0x464D4520);
  Put32(header, 0x10000);
  Put32(header, static_cast<std::uint32_t>(kHeaderSize + body.size()));
  Put32(header, static_cast<std::uint32_t>(records_.size() + 2));
  Put16(header, static_cast<std::uint16_t>(records_.size() + 1));
  Put16(header, 0);
  Put32(header, 0);  // no description
  Put32(header, 0);
  Put32(header, 0);  // no palette
  Put32(header, static_cast<std::uint32_t>(devicePixels_.width()));
  Put32(header, static_cast<std::uint32_t>(devicePixels_.height()));
  Put32(header, static_cast<std::uint32_t>(deviceMm_.width()));
  Put32(header, static_cast<std::uint32_t>(deviceMm_.height()));
  return header + body;
}

}  // namespace lvx::testing
