// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "scan_error.h"

namespace lvx {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int DigitValue(char c, int base) {
  int v = -1;
  if (IsDigit(c)) v = c - '0';
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  return v < base ? v : -1;
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') out += c;
  }
  return out;
}

double CheckedFloat(double value) {
  if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) {
    throw ScanError("number overflows a float");
  }
  return value;
}

double ReadRadix(std::string_view digits, int base) {
  double value = 0;
  for (char c : digits) {
    const int d = DigitValue(c, base);
    if (d < 0) break;
    value = CheckedFloat(value * base + d);
  }
  return value;
}

// Length of the longest prefix of `s` that forms sign, digits, optional
// fraction and optional exponent; 0 when no digit was read.
std::size_t DecimalPrefix(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  return i;
}

// Reads a decimal in the "C" locale: a program whose locale writes decimals
// with "," must still read "12.5" as twelve and a half.
double StrToDouble(std::string_view s) {
  static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string number(s);
  return ::strtod_l(number.c_str(), nullptr, cLocale);
}

double ParseDecimal(std::string_view s) {
  if (s.front() == '+') s.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
  // Out of range may be an underflow (zero) or an overflow: strtod tells.
  if (result.ec == std::errc::result_out_of_range) value = StrToDouble(s);
  if (std::isinf(value)) throw ScanError("number overflows a float");
  return CheckedFloat(value);
}

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

double ToNumber(std::string_view text) {
  const std::string s = WithoutBlanks(text);
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return ReadRadix(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return ReadRadix(std::string_view(s).substr(2), 8);
  }
  const std::size_t length = DecimalPrefix(s);
  return length == 0 ? 0.0 : ParseDecimal(std::string_view(s).substr(0, length));
}

std::optional<std::int32_t> ToColour(std::string_view text) {
  const std::string_view s = Trimmed(text);
  if (s.size() == 10 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
    std::uint32_t value = 0;
    for (char c : s.substr(2)) {
      const int d = DigitValue(c, 16);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(value);
  }
  if (s.empty() || DecimalPrefix(s) != s.size()) return std::nullopt;
  const double rounded = std::nearbyint(StrToDouble(s));
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

std::int16_t ToPoints(double value) {
  // nearbyint rounds half to even in the default rounding mode.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    throw ScanError("point value outside 16 bits");
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace lvx
