// SPDX-License-Identifier: GPL-3.0-or-later
#include "twips.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

// 15 twips to the pixel, to the nearest pixel with half a pixel up; the
// same distance below zero gives the same pixels with the sign turned.
TEST(PixelsFromTwips, RoundsToTheNearestPixel) {
  const struct {
    int twips;
    int pixels;
  } cases[] = {
      {0, 0},      {1, 0},      {7, 0},       {8, 1},        {14, 1},
      {15, 1},     {22, 1},     {23, 2},      {30, 2},       {4935, 329},
      {6911, 461}, {8055, 537}, {11685, 779}, {8100, 540},   {-7, 0},
      {-8, -1},    {-22, -1},   {-23, -2},    {32767, 2184}, {1'000'000'005, 66'666'667},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.twips);
    EXPECT_EQ(PixelsFromTwips(c.twips), c.pixels);
  }
}

TEST(TwipsRect, ConvertsEachSideOnItsOwn) {
  static_assert(TwipsRect(0, 0, 4935, 2745) == QRect(0, 0, 329, 183));
  EXPECT_EQ(TwipsRect(8, 22, 23, 7), QRect(1, 1, 2, 0));
  EXPECT_EQ(TwipsRect(-8, -23, 15, 30), QRect(-1, -2, 1, 2));
}

TEST(MillimetresFromPixels, NinetySixPixelsAreAnInch) {
  EXPECT_DOUBLE_EQ(MillimetresFromPixels(96), 25.4);
  EXPECT_DOUBLE_EQ(MillimetresFromPixels(0), 0);
  EXPECT_DOUBLE_EQ(MillimetresFromPixels(-48), -12.7);
}

}  // namespace
}  // namespace lvx
