// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_syntax.h"

#include <charconv>
#include <cmath>

namespace lvx {

void AppendNumber(std::string& out, double value, int decimals) {
  // Beyond this a PDF reader's numbers lose their meaning; the page never
  // holds such values except by mistake.
  constexpr double kLimit = 1e9;
  if (!std::isfinite(value)) value = 0;
  value = std::fmax(-kLimit, std::fmin(kLimit, value));
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  if (text == "-0") text = "0";
  out += text;
  out += ' ';
}

void AppendLiteral(std::string& out, std::string_view bytes) {
  out += '(';
  for (const char c : bytes) {
    switch (c) {
      case '(':
      case ')':
      case '\\':
        out += '\\';
        out += c;
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  out += ')';
}

std::string TextString(const QString& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "<FEFF";
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
  }
  out += '>';
  return out;
}

std::string PlainName(std::string_view text) {
  std::string name;
  for (const char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') {
      name += c;
    }
  }
  return name.empty() ? "Font" : name;
}

}  // namespace lvx
