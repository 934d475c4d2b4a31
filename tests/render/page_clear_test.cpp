// SPDX-License-Identifier: GPL-3.0-or-later
// A window's image is whitened only where the last page drew: what a page
// leaves behind after Clear must be exactly a white image, and a page drawn
// over a cleared one exactly the page drawn on a fresh image.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "drawn_area.h"
#include "metafile_builder.h"
#include "page_fixture.h"
#include "page_image.h"
#include "picture_file.h"

namespace lvx {
namespace {

using testing::PageFixture;
using testing::WmfBuilder;

QImage Filled(QSize size, QImage::Format format, QRgb colour) {
  QImage image(size, format);
  image.fill(colour);
  return image;
}

TEST(DrawnArea, WhitensTheTilesOfWhatWasMarkedAndNothingElse) {
  constexpr int kW = DrawnArea::kTileWidth;
  constexpr int kH = DrawnArea::kTileHeight;
  const QSize size(10 * kW + 5, 6 * kH + 3);
  const QRgb black = qRgb(0, 0, 0);
  const struct {
    const char* name;
    QRect marked;
    QPoint white;  // a pixel whitened
    QPoint kept;   // a pixel left as it was
  } rows[] = {
      {"inside one tile", {kW + 3, kH + 2, 4, 4}, {kW, kH}, {2 * kW, kH}},
      {"across tiles", {kW - 1, kH - 1, 2, 2}, {0, 0}, {2 * kW, 0}},
      {"over the left edge", {-50, 2 * kH, 60, 1}, {0, 2 * kH}, {kW, 2 * kH}},
      {"the last partial tile",
       {size.width() - 1, size.height() - 1, 9, 9},
       {size.width() - 1, size.height() - 1},
       {0, 0}},
      {"off the image", {size.width() + 10, 0, 20, 20}, {-1, -1}, {size.width() - 1, 0}},
      {"empty", {kW, kH, 0, 0}, {-1, -1}, {kW, kH}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QImage image = Filled(size, QImage::Format_RGB32, black);
    DrawnArea area(size);
    area.Add(row.marked);
    area.Whiten(image);
    if (row.white.x() >= 0) {
      EXPECT_EQ(image.pixel(row.white), qRgb(255, 255, 255));
    }
    EXPECT_EQ(image.pixel(row.kept), black);
    // Whitened once: the tiles are unmarked again.
    image.fill(black);
    area.Whiten(image);
    EXPECT_EQ(image, Filled(size, QImage::Format_RGB32, black));
  }
}

TEST(DrawnArea, WhitensEverythingWhenAllIsMarkedOrTheFormatIsAnother) {
  const QSize size(70, 20);
  DrawnArea all(size);
  all.AddAll();
  QImage image = Filled(size, QImage::Format_ARGB32_Premultiplied, qRgb(0, 0, 0));
  all.Whiten(image);
  EXPECT_EQ(image, Filled(size, QImage::Format_ARGB32_Premultiplied, qRgb(255, 255, 255)));

  DrawnArea some(size);
  some.Add({1, 1, 1, 1});
  QImage other = Filled(size, QImage::Format_RGB888, qRgb(0, 0, 0));
  some.Whiten(other);
  EXPECT_EQ(other, Filled(size, QImage::Format_RGB888, qRgb(255, 255, 255)));
}

// Records that draw every kind of thing, some of it reaching out of its box:
// italic overhangs, underlines, a line of text past the edge, a tab, a
// picture, boxes filled and outlined, text on both sides of the split.
const std::vector<std::string> kFirstPage = {
    "*BOX /X:10 /Y:10 /W:100 /H:20 /C:&H00FF0000 /F",
    "*FONT /N:Arial /S:12",
    "*TEXT /X:20 /Y:15 /T:Opaque \x80 100,00",
    "*FONT /N:Times New Roman /S:16 /I /B /T",
    "*TEXT /X:15 /Y:40.3 /T:ffff jjjj Qualit\xe0",
    "*FONT /N:Arial /S:9 /U",
    "*TEXT /X:30.7 /Y:60 /T:underlined   ",
    "*FONT /N:Courier New /S:10 /C:&H000000FF",
    "*TEXT /X:124.3 /Y:50 /T:   29\tafter a tab",
    "*FONT /N:Arial /S:9 /T",
    "*TEXT /X:-5 /Y:100 /T:" + std::string(150, 'W'),
    "*TEXT /X:150 /Y:138 /T:Across the split",
    "*BOX /X:10 /Y:150 /W:190 /H:100 /C:&H0000FF00",
    "*IMAGE /X:120 /Y:150 /N:logo.bmp",
    "*FONT /N:Arial /S:72 /B",
    "*TEXT /X:20 /Y:200 /T:Big",
    // An italic f hangs far out of its cell, to the left and right.
    "*FONT /N:Times New Roman /S:60 /I /T",
    "*TEXT /X:120 /Y:90 /T:f",
    "*FONT /N:Times New Roman /S:40 /I /U /T",
};

// Underlined italic f's in a column of rows, each a little further right,
// so that some reach over into the next tile.
std::vector<std::string> FirstPage() {
  std::vector<std::string> records = kFirstPage;
  for (int row = 0; row < 12; ++row) {
    records.push_back("*TEXT /X:" + std::to_string(120 + row * 0.8) +
                      " /Y:" + std::to_string(150 + row * 9) + " /T:f");
  }
  return records;
}
const std::vector<std::string> kSecondPage = {
    "*FONT /N:Arial /S:10",
    "*TEXT /X:40 /Y:20 /T:Another page",
    "*BOX /X:50 /Y:160 /W:30 /H:30 /C:&H000000FF",
};

void RunAll(PageFixture& page, const std::vector<std::string>& records) {
  for (const std::string& record : records) page.Run(record);
}

void ClearAll(PageFixture& page) {
  page.main.view().Clear();
  page.upper.view().Clear();
  page.lower.view().Clear();
}

TEST(Clear, LeavesNothingOfThePageDrawnBefore) {
  for (const double ratio : {1.0, 1.25, 2.0}) {
    SCOPED_TRACE(::testing::Message() << "ratio " << ratio);
    PageFixture page(LVX_EXAMPLES, ratio);
    RunAll(page, FirstPage());
    ClearAll(page);
    const PageFixture fresh(LVX_EXAMPLES, ratio);
    EXPECT_EQ(page.main.image(), fresh.main.image());
    EXPECT_EQ(page.upper.image(), fresh.upper.image());
    EXPECT_EQ(page.lower.image(), fresh.lower.image());

    // The next page comes out as on a new window.
    RunAll(page, kSecondPage);
    PageFixture second(LVX_EXAMPLES, ratio);
    RunAll(second, kSecondPage);
    EXPECT_EQ(page.main.image(), second.main.image());
    EXPECT_EQ(page.upper.image(), second.upper.image());
    EXPECT_EQ(page.lower.image(), second.lower.image());
  }
}

TEST(Clear, ErasesAMetafileThatDrawsOutsideItsFrame) {
  // The frame is 40 by 20 mm; the rectangle reaches far beyond it.
  const auto picture = DecodePicture(WmfBuilder({0, 0, 400, 200}, 254)
                                         .SolidBrush(0x0000FF)
                                         .Select(0)
                                         .Rectangle({-300, -300, 1000, 800})
                                         .Bytes());
  ASSERT_TRUE(picture);
  for (const double ratio : {1.0, 2.0}) {
    PageImage page({400, 400}, ViewScale::Millimetres(kScreenDpi), ratio);
    page.view().DrawPicture(*picture, 40, 40, std::nullopt);
    // 16 mm from the corner: 24 mm left of and above the frame.
    const int outside = static_cast<int>(60 * ratio);
    ASSERT_NE(page.image().pixel(outside, outside), qRgb(255, 255, 255)) << "not drawn outside";
    page.view().Clear();
    EXPECT_EQ(page.image(),
              PageImage({400, 400}, ViewScale::Millimetres(kScreenDpi), ratio).image());
  }
}

}  // namespace
}  // namespace lvx
