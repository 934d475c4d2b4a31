// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <cmath>
#include <limits>
#include <vector>

#include "page_fixture.h"
#include "probes.h"

namespace lvx {
namespace {

// The face Qt really draws the view's font with, without a foundry suffix.
QString FaceUsed(const PainterPageView& view) {
  QString family = QFontInfo(view.font()).family();
  const qsizetype bracket = family.indexOf(" [");
  return bracket > 0 ? family.left(bracket) : family;
}

TEST(SetFontName, TheMetricCompatibleFaceIsTheOneUsed) {
  const struct {
    const char* name;
    const char* face;
  } rows[] = {
      {"Arial", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"arial", "Liberation Sans"},  // families match in any letter case
      {"Liberation Serif", "Liberation Serif"},
  };
  PageImage page({10, 10}, ViewScale::Millimetres(kScreenDpi));
  for (const auto& row : rows) {
    EXPECT_TRUE(page.view().SetFontName(row.name)) << row.name;
    EXPECT_EQ(FaceUsed(page.view()), row.face) << row.name;
  }
}

TEST(SetFontName, AnUnknownFamilyFailsAndKeepsThePreviousFace) {
  PageImage page({10, 10}, ViewScale::Millimetres(kScreenDpi));
  ASSERT_TRUE(page.view().SetFontName("Courier New"));
  // Fontconfig would only offer a generic fallback for these.
  std::vector<const char*> names = {"Nofont Xyzzy", "Caf\xE9 Sans Qq", "Helvetica Narrowish"};
  if (!QFontDatabase::hasFamily("Tahoma")) names.push_back("Tahoma");
  for (const char* name : names) {
    EXPECT_FALSE(page.view().SetFontName(name)) << name;
    EXPECT_EQ(FaceUsed(page.view()), "Liberation Mono") << name;
  }
}

TEST(SetFontName, NoNameMeansTheDefaultFace) {
  PageImage page({10, 10}, ViewScale::Millimetres(kScreenDpi));
  EXPECT_EQ(FaceUsed(page.view()), "Liberation Sans");
  EXPECT_EQ(page.view().font().pointSizeF(), PainterPageView::kDefaultPoints);
  ASSERT_TRUE(page.view().SetFontName("Times New Roman"));
  EXPECT_TRUE(page.view().SetFontName(""));
  EXPECT_EQ(FaceUsed(page.view()), "Liberation Sans");
}

TEST(SetFontSize, OneTo2160PointsElseTheSizeStays) {
  const struct {
    float points;
    bool usable;
  } rows[] = {
      {1.0F, true},
      {2160.0F, true},
      {10.0F, true},
      {0.99F, false},
      {0.0F, false},
      {-5.0F, false},
      {2161.0F, false},
      {2160.5F, false},
      {std::numeric_limits<float>::quiet_NaN(), false},
      {std::numeric_limits<float>::infinity(), false},
  };
  PageImage page({10, 10}, ViewScale::Millimetres(kScreenDpi));
  for (const auto& row : rows) {
    ASSERT_TRUE(page.view().SetFontSize(7));
    EXPECT_EQ(page.view().SetFontSize(row.points), row.usable) << row.points;
    EXPECT_EQ(page.view().font().pointSizeF(), row.usable ? row.points : 7.0) << row.points;
  }
}

TEST(SelectFont, TheRestOfTheRecordAppliesWhenTheNameFails) {
  testing::PageFixture page;
  page.Run("*FONT /N:Courier New /S:10");
  page.Run("*FONT /N:Nofont Xyzzy /S:14 /B /I /U /T /C:&H000000FF");
  for (PageImage* image : {&page.main, &page.upper, &page.lower}) {
    const PainterPageView& view = image->view();
    EXPECT_EQ(FaceUsed(view), "Liberation Mono");
    EXPECT_TRUE(view.font().bold());
    EXPECT_TRUE(view.font().italic());
    EXPECT_TRUE(view.font().underline());
    EXPECT_TRUE(view.transparent());
    EXPECT_EQ(view.textColour(), QColor(255, 0, 0));
  }
  EXPECT_EQ(page.main.view().font().pointSizeF(), 7);
  EXPECT_EQ(page.upper.view().font().pointSizeF(), 14);
}

TEST(SelectFont, StyleAndSizeShowInTheDrawing) {
  // Bold strokes are wider, and the half-size view draws half as high.
  const auto inkOf = [](const char* font) {
    testing::PageFixture page;
    page.Run(font);
    page.Run("*TEXT /X:20 /Y:30 /T:IIII");
    return std::pair{testing::InkBounds(page.upper.image()), testing::InkBounds(page.main.image())};
  };
  const auto [regular, regularMain] = inkOf("*FONT /N:Arial /S:24");
  const auto [bold, boldMain] = inkOf("*FONT /N:Arial /S:24 /B");
  EXPECT_GT(bold.width(), regular.width());
  EXPECT_NEAR(regularMain.height() * 2, regular.height(), 2.0);
}

}  // namespace
}  // namespace lvx
