// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_1252.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

TEST(Text1252, CodePageCharactersRoundTrip) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(ToBytes1252(FromBytes1252(all)), all);
}

TEST(Text1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  const struct {
    const char* utf8;
    std::string bytes;
  } rows[] = {
      {"Laser", "Laser"},
      {"\u20ac 5", "\x80 5"},
      {"Citt\u00e0", "Citt\xE0"},
      {"\u0152uvre \u2013 \u201cA\u201d",
       "\x8Cuvre \x96 \x93"
       "A\x94"},
      {"\u03a9mega", "?mega"},
      {"\U0001F5A8 printer", "? printer"},
      {"", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ToBytes1252(QString::fromUtf8(row.utf8)), row.bytes) << row.utf8;
  }
}

}  // namespace
}  // namespace lvx
