// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable_line.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

TEST(PrintableLine, ControlsAndBrokenUtf8BecomeEscapes) {
  using namespace std::string_literals;
  const struct {
    std::string text;
    std::string printed;
  } rows[] = {
      // Kept as they are: plain text, blanks, backslashes, valid UTF-8.
      {"", ""},
      {"/d/my invoice.lvx", "/d/my invoice.lvx"},
      {"C:\\docs\\a.lvx", "C:\\docs\\a.lvx"},
      {"fattura \xC3\xA0 \xE2\x82\xAC \xF0\x9F\x93\x84",
       "fattura \xC3\xA0 \xE2\x82\xAC \xF0\x9F\x93\x84"},
      {"\xC2\xA0nbsp", "\xC2\xA0nbsp"},
      // C0 controls and DEL: a line end never breaks the line.
      {"a\nb", "a\\nb"},
      {"a\r\nb", "a\\r\\nb"},
      {"tab\there", "tab\\there"},
      {"\x1B[2J\x1B]0;title\x07", "\\x1B[2J\\x1B]0;title\\x07"},
      {"nul\0end"s, "nul\\x00end"},
      {"\x7F", "\\x7F"},
      // C1 controls written in UTF-8 (U+009B is a CSI to some terminals).
      {"\xC2\x9B"
       "31m",
       "\\xC2\\x9B31m"},
      {"\xC2\x85", "\\xC2\\x85"},
      // Bytes that are no UTF-8: Windows-1252 names, cut or overlong forms,
      // surrogates, beyond U+10FFFF.
      {"fattura \xE0.lvx", "fattura \\xE0.lvx"},
      {"\x9B"
       "31m",
       "\\x9B31m"},
      {"\xC3", "\\xC3"},
      {"\xE2\x82", "\\xE2\\x82"},
      {"\xC0\xAF", "\\xC0\\xAF"},
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
      {"\xE2\x82x", "\\xE2\\x82x"},
  };
  for (const auto& row : rows) EXPECT_EQ(PrintableLine(row.text), row.printed) << row.text;
}

}  // namespace
}  // namespace lvx
