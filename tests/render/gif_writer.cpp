// SPDX-License-Identifier: GPL-3.0-or-later
#include "gif_writer.h"

namespace lvx::testing {
namespace {

constexpr int kMinCodeSize = 7;  // 128 colours; codes of 8 bits
constexpr char kClear = static_cast<char>(128);
constexpr char kEnd = static_cast<char>(129);
// Restart before the table grows to 256 entries and codes widen.
constexpr int kLiteralsPerTable = 120;

void Put16(QByteArray& bytes, int value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

// Two levels per channel: index bits 0..2 are red, green and blue.
int PaletteIndex(QRgb pixel) {
  return (qRed(pixel) >= 128 ? 1 : 0) | (qGreen(pixel) >= 128 ? 2 : 0) |
         (qBlue(pixel) >= 128 ? 4 : 0);
}

}  // namespace

QByteArray GifOf(const QImage& image) {
  QByteArray gif("GIF89a");
  Put16(gif, image.width());
  Put16(gif, image.height());
  gif.append(static_cast<char>(0x80 | (6 << 4) | 6));  // a global table of 128
  gif.append('\0');
  gif.append('\0');
  for (int i = 0; i < 128; ++i) {
    gif.append(static_cast<char>(i & 1 ? 255 : 0));
    gif.append(static_cast<char>(i & 2 ? 255 : 0));
    gif.append(static_cast<char>(i & 4 ? 255 : 0));
  }
  gif.append(',');
  Put16(gif, 0);
  Put16(gif, 0);
  Put16(gif, image.width());
  Put16(gif, image.height());
  gif.append('\0');
  gif.append(static_cast<char>(kMinCodeSize));

  QByteArray codes;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((y * image.width() + x) % kLiteralsPerTable == 0) codes.append(kClear);
      codes.append(static_cast<char>(PaletteIndex(image.pixel(x, y))));
    }
  }
  codes.append(kEnd);
  for (qsizetype at = 0; at < codes.size(); at += 255) {
    const QByteArray block = codes.mid(at, 255);
    gif.append(static_cast<char>(block.size()));
    gif.append(block);
  }
  gif.append('\0');
  gif.append(';');
  return gif;
}

}  // namespace lvx::testing
