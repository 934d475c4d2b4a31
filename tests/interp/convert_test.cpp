// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "temp_dir.h"

#include "scan_error.h"

namespace lvx {
namespace {

TEST(ToNumber, ReadsTheLeadingNumberLeniently) {
  const struct {
    const char* text;
    double value;
  } rows[] = {
      {"10", 10},   {" 12.5 ", 12.5}, {"1 2", 12},        {"1\t2\n3", 123}, {"1,5", 1},
      {"1.5", 1.5}, {"1e1", 10},      {"1E-1", 0.1},      {"2e", 2},        {"2e+", 2},
      {"abc", 0},   {"", 0},          {"-7.25mm", -7.25}, {"+3", 3},        {".5", 0.5},
      {"-", 0},     {"+-5", 0},       {"&H10", 16},       {"&hff", 255},    {"&O17", 15},
      {"&H", 0},    {"&Hzz", 0},      {"12abc", 12},      {"0.1", 0.1},     {"- 5", -5},
  };
  for (const auto& row : rows) EXPECT_DOUBLE_EQ(ToNumber(row.text), row.value) << row.text;
}

TEST(ToNumber, NumbersBeyondAFloatOverflow) {
  EXPECT_THROW(ToNumber("1e39"), ScanError);
  EXPECT_THROW(ToNumber("-4e38"), ScanError);
  EXPECT_THROW(ToNumber("1e400"), ScanError);
  EXPECT_THROW(ToNumber("&H" + std::string(40, 'F')), ScanError);
  EXPECT_NO_THROW(ToNumber("3e38"));
  EXPECT_DOUBLE_EQ(ToNumber("1e-400"), 0);
}

TEST(ToColour, HexWithEightDigitsOrDecimal) {
  const struct {
    const char* text;
    std::optional<std::int32_t> colour;
  } rows[] = {
      {"&H000000FF", 0xFF},
      {"&H00FF0000", 16711680},
      {" &h0000ff00 ", 0xFF00},
      {"&HFFFFFFFF", -1},
      {"255", 255},
      {"12.5", 12},
      {"13.5", 14},
      {"-1", -1},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"red", std::nullopt},
      {"&H00FF00", std::nullopt},
      {"&H00GG0000", std::nullopt},
      {"12 34", std::nullopt},
      {"3000000000", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(ToColour(row.text), row.colour) << row.text;
}

TEST(ToPoints, RoundsHalvesToEvenWithin16Bits) {
  const struct {
    double value;
    std::int16_t points;
  } rows[] = {{10.5, 10}, {11.5, 12},       {0.6, 1},        {0.5, 0},
              {-2.5, -2}, {32767.4, 32767}, {-32768, -32768}};
  for (const auto& row : rows) EXPECT_EQ(ToPoints(row.value), row.points) << row.value;
  EXPECT_THROW(ToPoints(32767.5), ScanError);  // rounds to 32,768
  EXPECT_THROW(ToPoints(-32769), ScanError);
  EXPECT_THROW(ToPoints(1e10), ScanError);
}

// Programs with windows take the user's locale, in which "," may be the
// decimal point; documents always write ".".
TEST(ToNumber, IgnoresTheProcessLocale) {
  testing::TempDir dir;
  // Italian numbers alone: a whole it_IT locale takes seconds to build.
  const std::string source = dir.Write("comma.src",
                                       "LC_NUMERIC\n"
                                       "decimal_point \"<U002C>\"\n"
                                       "thousands_sep \"<U002E>\"\n"
                                       "grouping 3;3\n"
                                       "END LC_NUMERIC\n");
  // -c: the categories left out draw warnings (exit status 1), no error.
  const std::string build =
      "localedef -c -i " + source + " -f ANSI_X3.4-1968 " + dir.path() + "/it_IT >/dev/null 2>&1";
  const int status = std::system(build.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "needs localedef";
  ::setenv("LOCPATH", dir.path().c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "it_IT"), nullptr) << "needs the locales package";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_DOUBLE_EQ(ToNumber("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(ToNumber("12,5"), 12);
  EXPECT_EQ(ToColour("13.5"), 14);
  std::setlocale(LC_ALL, "C");
  ::unsetenv("LOCPATH");
}

}  // namespace
}  // namespace lvx
