// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_syntax.h"

#include <algorithm>
#include <cmath>

namespace lvx {

std::int64_t FixedUnits(double value, int decimals) {
  // Beyond this a PDF reader's numbers lose their meaning; the page never
  // holds such values except by mistake.
  constexpr double kLimit = 1e9;
  static constexpr double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
  if (!std::isfinite(value)) value = 0;
  value = std::fmax(-kLimit, std::fmin(kLimit, value));
  return std::llround(value * kScale[std::clamp(decimals, 0, 6)]);
}

void AppendNumber(std::string& out, double value, int decimals) {
  decimals = std::clamp(decimals, 0, 6);
  AppendFixed(out, FixedUnits(value, decimals), decimals);
}

void AppendFixed(std::string& out, std::int64_t units, int decimals) {
  char buffer[32];
  char* end = buffer + sizeof buffer;
  char* start = end;
  const bool negative = units < 0;
  std::uint64_t rest = negative ? 0 - static_cast<std::uint64_t>(units) : units;
  // The fraction's digits from the right, trailing zeros left out.
  bool digits = false;
  for (int i = 0; i < decimals; ++i, rest /= 10) {
    const auto digit = static_cast<char>('0' + rest % 10);
    if (digits || digit != '0') {
      *--start = digit;
      digits = true;
    }
  }
  if (digits) *--start = '.';
  do {
    *--start = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (negative) *--start = '-';
  out.append(start, end);
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

std::size_t LastLineEnd(std::string_view content) {
  std::size_t last = 0;
  int depth = 0;  // of parentheses in a literal string
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (depth > 0) {
      if (c == '\\') {
        ++i;
      } else if (c == '(') {
        ++depth;
      } else if (c == ')') {
        --depth;
      }
    } else if (c == '(') {
      depth = 1;
    } else if (c == '\n') {
      last = i + 1;
    }
  }
  return last;
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
