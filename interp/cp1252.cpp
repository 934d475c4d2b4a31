// SPDX-License-Identifier: GPL-3.0-or-later
#include "cp1252.h"

#include <array>
#include <cstdint>

namespace lvx {
namespace {

// Unicode code points of 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

namespace {

unsigned char UpperByteSlow(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  // à..þ map to À..Þ, except the division sign.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;  // š
    case 0x9C:
      return 0x8C;  // œ
    case 0x9E:
      return 0x8E;  // ž
    case 0xFF:
      return 0x9F;  // ÿ
    default:
      return c;
  }
}

}  // namespace

namespace {

struct UpperTable {
  std::array<unsigned char, 256> bytes{};
  UpperTable() {
    for (int c = 0; c < 256; ++c) bytes[c] = UpperByteSlow(static_cast<unsigned char>(c));
  }
};

const UpperTable kUpper;

}  // namespace

unsigned char UpperByte1252(unsigned char c) {
  return kUpper.bytes[c];
}

const unsigned char* UpperTable1252() {
  return kUpper.bytes.data();
}

void UpperCaseInPlace1252(std::string& text) {
  for (char& c : text) c = static_cast<char>(kUpper.bytes[static_cast<unsigned char>(c)]);
}

std::string UpperCase1252(std::string_view text) {
  std::string out(text);
  UpperCaseInPlace1252(out);
  return out;
}

std::string Utf8From1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80 && c < 0xA0) {
      AppendUtf8(out, kHighControls[c - 0x80]);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

}  // namespace lvx
