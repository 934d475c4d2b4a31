// SPDX-License-Identifier: GPL-3.0-or-later
// A high-density screen shows the page as a screen of ratio 1 does, with
// more pixels: everything lands at the ratio times its place there.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "page_fixture.h"
#include "probes.h"

namespace lvx {
namespace {

using testing::InkBounds;
using testing::IsRed;
using testing::PageFixture;

constexpr double kRatios[] = {1.25, 1.5, 2.0};

// Edges of `ink` at `ratio` lie within a device pixel of those of `base`
// (ratio 1) multiplied by the ratio; the far edges may take one more for
// the rounding at both scales.
void ExpectScaled(const QRect& ink, const QRect& base, double ratio, const char* what) {
  SCOPED_TRACE(::testing::Message() << what << " at ratio " << ratio);
  ASSERT_FALSE(ink.isEmpty());
  ASSERT_FALSE(base.isEmpty());
  EXPECT_NEAR(ink.left(), base.left() * ratio, 1.0 + ratio);
  EXPECT_NEAR(ink.top(), base.top() * ratio, 1.0 + ratio);
  EXPECT_NEAR(ink.right() + 1, (base.right() + 1) * ratio, 1.0 + ratio);
  EXPECT_NEAR(ink.bottom() + 1, (base.bottom() + 1) * ratio, 1.0 + ratio);
}

// The rows that hold red in column `x` of `image`, as runs: each run's
// height.
std::vector<int> RedRuns(const QImage& image, int x) {
  std::vector<int> runs;
  int run = 0;
  for (int y = 0; y < image.height(); ++y) {
    if (IsRed(image.pixel(x, y))) {
      ++run;
    } else if (run > 0) {
      runs.push_back(run);
      run = 0;
    }
  }
  if (run > 0) runs.push_back(run);
  return runs;
}

TEST(PixelRatio, PictureLandsAtItsPlaceTimesTheRatio) {
  // The invoice's logo, on the half-size page and in the upper zoom view.
  PageFixture base(LVX_EXAMPLES);
  base.Run("*IMAGE /X:150 /Y:10 /N:logo.bmp");
  const QRect mainBase = InkBounds(base.main.image());
  const QRect upperBase = InkBounds(base.upper.image());
  for (const double ratio : kRatios) {
    PageFixture page(LVX_EXAMPLES, ratio);
    page.Run("*IMAGE /X:150 /Y:10 /N:logo.bmp");
    ExpectScaled(InkBounds(page.main.image()), mainBase, ratio, "half page");
    ExpectScaled(InkBounds(page.upper.image()), upperBase, ratio, "zoom");
  }
}

TEST(PixelRatio, PictureStretchedToASizeKeepsItsPlace) {
  PageFixture base(LVX_EXAMPLES);
  base.Run("*IMAGE /X:33.3 /Y:61.7 /W:40.1 /H:20.3 /N:logo.bmp");
  for (const double ratio : kRatios) {
    PageFixture page(LVX_EXAMPLES, ratio);
    page.Run("*IMAGE /X:33.3 /Y:61.7 /W:40.1 /H:20.3 /N:logo.bmp");
    ExpectScaled(InkBounds(page.main.image()), InkBounds(base.main.image()), ratio, "half page");
    ExpectScaled(InkBounds(page.upper.image()), InkBounds(base.upper.image()), ratio, "zoom");
  }
}

TEST(PixelRatio, BoxesAndTextLandAtTheirPlaceTimesTheRatio) {
  const std::vector<std::string> records = {
      "*BOX /X:20 /Y:27 /W:170 /H:0.3 /F",
      "*BOX /X:20.4 /Y:40.7 /W:63.3 /H:21.9 /C:&H000000FF",
      "*BOX /X:130 /Y:130 /W:0 /H:0",
      "*FONT /N:Arial /S:16 /B\n*TEXT /X:20 /Y:20 /T:Fattura 17/2026",
  };
  for (const std::string& record : records) {
    PageFixture base;
    for (const auto& line : QString::fromStdString(record).split(u'\n'))
      base.Run(line.toStdString());
    for (const double ratio : kRatios) {
      PageFixture page(".", ratio);
      for (const auto& line : QString::fromStdString(record).split(u'\n')) {
        page.Run(line.toStdString());
      }
      ExpectScaled(InkBounds(page.main.image()), InkBounds(base.main.image()), ratio,
                   record.c_str());
      ExpectScaled(InkBounds(page.upper.image()), InkBounds(base.upper.image()), ratio,
                   record.c_str());
    }
  }
}

TEST(PixelRatio, RulesOfOneThicknessAreEquallyThickWhereverTheyLie) {
  // Thin rules a fraction of a millimetre apart in their placing: at a
  // fractional ratio the painter's own lines come out one pixel thicker
  // every few rules.
  for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
    for (const double height : {0.1, 0.3, 0.5, 1.1}) {
      PageFixture page(".", ratio);
      for (int i = 0; i < 12; ++i) {
        page.Run("*BOX /X:10 /Y:" + std::to_string(10 + i * 4.13) +
                 " /W:30 /H:" + std::to_string(height) + " /C:&H000000FF /F");
      }
      for (PageImage* view : {&page.main, &page.upper}) {
        SCOPED_TRACE(::testing::Message() << "ratio " << ratio << ", height " << height);
        // The half-size page halves the boxes.
        const double half = view == &page.main ? 0.5 : 1.0;
        const double perMm = half * view->view().scale().y * ratio;
        const int x = static_cast<int>(25 * half * view->view().scale().x * ratio);
        const std::vector<int> runs = RedRuns(view->image(), x);
        ASSERT_EQ(runs.size(), 12U);
        for (const int run : runs) {
          EXPECT_EQ(run, runs.front());
          EXPECT_NEAR(run, std::max(std::lround(ratio), std::lround(height * perMm)), 0.0);
        }
      }
    }
  }
}

TEST(PixelRatio, OutlineIsOneScreenPixelAtEveryRatio) {
  const struct {
    double ratio;
    int line;
  } cases[] = {{1.0, 1}, {1.25, 1}, {1.5, 2}, {2.0, 2}, {3.0, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "ratio " << c.ratio);
    PageImage page({200, 200}, ViewScale::Millimetres(kScreenDpi), c.ratio);
    page.view().DrawRect(10, 10, 40, 40, 0x0000FF, false);
    const int y = static_cast<int>(25 * ViewScale::Millimetres(kScreenDpi).y * c.ratio);
    const std::vector<int> runs = RedRuns(page.image().transformed(QTransform().rotate(90)), y);
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_EQ(runs[0], c.line);
    EXPECT_EQ(runs[1], c.line);
  }
}

TEST(PixelRatio, FractionalRatioCoversTheWholeWindow) {
  for (const double ratio : kRatios) {
    const PageImage page({461, 537}, ViewScale::Millimetres(kScreenDpi), ratio);
    EXPECT_GE(page.image().width(), 461 * ratio);
    EXPECT_GE(page.image().height(), 537 * ratio);
    EXPECT_LT(page.image().width(), 461 * ratio + 1);
  }
}

TEST(PixelRatio, BoxesBeyondTheImageDrawOnlyTheirPartOverIt) {
  for (const double ratio : {1.0, 2.0}) {
    PageImage page({100, 100}, ViewScale::Millimetres(kScreenDpi), ratio);
    page.view().DrawRect(-50, 5, 10, 8, 0x0000FF, true);
    const QRect ink = InkBounds(page.image());
    const double perMm = ViewScale::Millimetres(kScreenDpi).x * ratio;
    EXPECT_EQ(ink.left(), 0);
    EXPECT_NEAR(ink.right() + 1, 10 * perMm, 1.0);
    EXPECT_NEAR(ink.top(), 5 * perMm, 1.0);
  }
}

}  // namespace
}  // namespace lvx
