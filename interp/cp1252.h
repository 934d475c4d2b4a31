// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lvx {

// Upper case of a Windows-1252 byte string; same length, so positions found
// in the result index the original. Never throws.
std::string UpperCase1252(std::string_view text);

// Upper-cases Windows-1252 bytes in place.
void UpperCaseInPlace1252(std::string& text);

// Upper case of one Windows-1252 byte.
unsigned char UpperByte1252(unsigned char c);

// The upper case of every byte, indexed by the byte: for loops over many.
const unsigned char* UpperTable1252();

// Converts Windows-1252 bytes to UTF-8. Bytes with no character in the code
// page (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control of the same value.
std::string Utf8From1252(std::string_view text);

}  // namespace lvx
