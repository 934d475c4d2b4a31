// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lvx {

// Lenient decimal conversion of an option value: blanks, tabs and line feeds
// are ignored anywhere, the leading number is read ("12,5" gives 12, "abc"
// gives 0), "&H" and "&O" read hexadecimal and octal whole numbers. The
// decimal point is always ".". Throws ScanError when the result does not
// fit a 32-bit float, since every caller stores it as one.
double ToNumber(std::string_view text);

// Colour of a "/C:" value as 0x00BBGGRR: "&H" with eight hex digits, or a
// decimal number rounded half to even. Empty when the text is anything else
// or out of the 32-bit signed range. Never throws.
std::optional<std::int32_t> ToColour(std::string_view text);

// Nearest whole number, halves to the even neighbour (10.5 gives 10), as a
// 16-bit value. Throws ScanError outside -32768..32767.
std::int16_t ToPoints(double value);

}  // namespace lvx
