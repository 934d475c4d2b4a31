// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable_line.h"

namespace lvx {
namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at the start of `text` (overlong forms,
// surrogates and code points beyond U+10FFFF are invalid); 0 when none.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}

void Escape(std::string& out, unsigned char c) {
  constexpr char kHex[] = "0123456789ABCDEF";
  switch (c) {
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
  }
}

}  // namespace

std::string PrintableLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text.front());
    if (c < 0x80) {
      if (c < 0x20 || c == 0x7F) {
        Escape(out, c);
      } else {
        out += static_cast<char>(c);
      }
      text.remove_prefix(1);
      continue;
    }
    const std::size_t length = SequenceLength(text);
    // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F.
    const bool control = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0;
    if (length == 0 || control) {
      const std::size_t bytes = length == 0 ? 1 : length;
      for (std::size_t i = 0; i < bytes; ++i) Escape(out, static_cast<unsigned char>(text[i]));
      text.remove_prefix(bytes);
      continue;
    }
    out.append(text.substr(0, length));
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace lvx
