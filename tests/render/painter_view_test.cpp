// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <cmath>

#include "page_fixture.h"
#include "painter_page_view.h"
#include "probes.h"

namespace lvx {
namespace {

using testing::InkBounds;
using testing::IsBlue;
using testing::IsRed;
using testing::IsWhite;
using testing::PageFixture;
using testing::PixelAt;

// The pixel rectangle a view-unit rectangle covers.
QRectF Pixels(const ViewScale& scale, double x1, double y1, double x2, double y2) {
  return QRectF(QPointF(x1 * scale.x, y1 * scale.y), QPointF(x2 * scale.x, y2 * scale.y));
}

// Pixel edges agree when they are within one pixel.
void ExpectEdges(const QRect& ink, const QRectF& expected) {
  EXPECT_NEAR(ink.left(), expected.left(), 1.0);
  EXPECT_NEAR(ink.right() + 1, expected.right(), 1.5);
  EXPECT_NEAR(ink.top(), expected.top(), 1.0);
  EXPECT_NEAR(ink.bottom() + 1, expected.bottom(), 1.5);
}

TEST(DrawRect, FilledRedBarLandsOnItsPixelsAtBothScales) {
  PageFixture page;
  page.Run("*BOX /X:10 /Y:20 /W:50 /H:10 /C:&H000000FF /F");
  const ViewScale mm = page.main.view().scale();
  const ViewScale zoom = page.upper.view().scale();
  // Half scale: (5, 10) to (30, 15) page-window millimetres.
  EXPECT_TRUE(IsRed(PixelAt(page.main.image(), mm, 5.5, 10.5)));
  EXPECT_TRUE(IsRed(PixelAt(page.main.image(), mm, 29.5, 14.5)));
  EXPECT_TRUE(IsWhite(PixelAt(page.main.image(), mm, 4.5, 12)));
  EXPECT_TRUE(IsWhite(PixelAt(page.main.image(), mm, 30.5, 12)));
  ExpectEdges(InkBounds(page.main.image()), Pixels(mm, 5, 10, 30, 15));
  // The zoom view stretches 210 by 143 units over 779 by 540 pixels.
  EXPECT_NE(zoom.x, zoom.y);
  EXPECT_TRUE(IsRed(PixelAt(page.upper.image(), zoom, 10.5, 20.5)));
  EXPECT_TRUE(IsWhite(PixelAt(page.upper.image(), zoom, 9.5, 25)));
  EXPECT_TRUE(IsWhite(PixelAt(page.upper.image(), zoom, 60.5, 25)));
  ExpectEdges(InkBounds(page.upper.image()), Pixels(zoom, 10, 20, 60, 30));
  EXPECT_TRUE(InkBounds(page.lower.image()).isEmpty());
}

TEST(DrawRect, BarThinnerThanAPixelStillShows) {
  PageFixture page;
  page.Run("*BOX /X:10 /Y:20 /W:50 /H:0.2 /C:&H000000FF /F");
  for (PageImage* image : {&page.main, &page.upper}) {
    const ViewScale scale = image->view().scale();
    const double half = image == &page.main ? 0.5 : 1.0;
    const QRect ink = InkBounds(image->image(), image->image().rect(), IsRed);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.left(), 10 * half * scale.x, 1.0);
    EXPECT_NEAR(ink.right() + 1, 60 * half * scale.x, 1.5);
    EXPECT_LE(ink.height(), 2);
    EXPECT_NEAR(ink.top(), 20 * half * scale.y, 1.0);
  }
}

TEST(DrawRect, SizeZeroIsADotAndOneSideZeroALine) {
  PageImage page({200, 200}, ViewScale::Millimetres(kScreenDpi));
  page.view().DrawRect(10, 10, 10, 10, 0, false);
  const QRect dot = InkBounds(page.image());
  ASSERT_FALSE(dot.isEmpty());
  EXPECT_LE(dot.width() * dot.height(), 4);
  page.view().Clear();
  page.view().DrawRect(10, 20, 40, 20, 0, true);
  const QRect line = InkBounds(page.image());
  EXPECT_LE(line.height(), 2);
  EXPECT_NEAR(line.width(), 30 * 96 / 25.4, 1.5);
}

TEST(DrawRect, OutlineIsTheThinnestLine) {
  PageFixture page;
  page.Run("*BOX /X:20 /Y:20 /W:40 /H:20 /C:&H00FF0000");
  const ViewScale zoom = page.upper.view().scale();
  ExpectEdges(InkBounds(page.upper.image()), Pixels(zoom, 20, 20, 60, 40));
  EXPECT_TRUE(IsBlue(PixelAt(page.upper.image(), zoom, 40, 20)));
  // One pixel wide: the inside stays white right next to the edge.
  const int edge = static_cast<int>(std::floor(20 * zoom.x));
  const int row = static_cast<int>(30 * zoom.y);
  EXPECT_TRUE(IsBlue(page.upper.image().pixel(edge, row)) ||
              IsBlue(page.upper.image().pixel(edge + 1, row)));
  EXPECT_TRUE(IsWhite(page.upper.image().pixel(edge + 2, row)));
}

// The character cell of `text` printed at `at` (view units) in `view`.
QRectF Cell(PageImage& page, QPointF at, const QString& text) {
  const QFontMetricsF metrics(page.view().font(), &page.image());
  const ViewScale scale = page.view().scale();
  return QRectF(QPointF(at.x() * scale.x, at.y() * scale.y),
                QSizeF(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()));
}

TEST(PrintText, InkLiesInTheCellStartingAtItsPoint) {
  PageFixture page;
  page.Run("*FONT /N:Arial /S:12");
  page.Run("*TEXT /X:20 /Y:30 /T:Hg");
  const struct {
    PageImage* image;
    QPointF at;
  } views[] = {{&page.main, {10, 15}}, {&page.upper, {20, 30}}};
  for (const auto& view : views) {
    const QRectF cell = Cell(*view.image, view.at, "Hg");
    const QRect ink = InkBounds(view.image->image());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(cell.adjusted(-1, -1, 1, 1).contains(QRectF(ink))) << "cell " << cell.x();
    // Real glyphs: from cap height down into the descender.
    EXPECT_GT(ink.height(), 0.6 * cell.height());
  }
}

TEST(PrintText, PointsAreDevicePointsWhateverTheMapping) {
  PageFixture page;
  page.Run("*FONT /N:Arial /S:12");
  page.Run("*TEXT /X:20 /Y:30 /T:H");
  // 12 points are 16 pixels at 96 dpi; a capital H of Liberation Sans is
  // 0.729 em high, in the stretched zoom view as on a plain one.
  const QRect ink = InkBounds(page.upper.image());
  EXPECT_NEAR(ink.height(), 0.729 * 16, 1.5);
  const QRect half = InkBounds(page.main.image());
  EXPECT_NEAR(half.height(), 0.729 * 8, 1.5);
}

TEST(PrintText, OpaqueTextPaintsAWhiteBandOverABoxTransparentDoesNot) {
  for (const bool transparent : {false, true}) {
    PageFixture page;
    page.Run("*BOX /X:10 /Y:10 /W:100 /H:20 /C:&H00FF0000 /F");
    page.Run(transparent ? "*FONT /N:Arial /S:12 /T" : "*FONT /N:Arial /S:12");
    page.Run("*TEXT /X:20 /Y:15 /T:MMMM");
    const QRectF cell = Cell(page.upper, {20, 15}, "MMMM");
    const QImage& image = page.upper.image();
    // Above the capitals but inside the cell: background or box.
    const QRgb insideCell = image.pixel(QPointF(cell.left() + 2, cell.top() + 1).toPoint());
    const QRgb besideCell = image.pixel(QPointF(cell.left() - 3, cell.center().y()).toPoint());
    EXPECT_EQ(IsWhite(insideCell), !transparent) << transparent;
    EXPECT_EQ(IsBlue(insideCell), transparent) << transparent;
    EXPECT_TRUE(IsBlue(besideCell));
    // The glyphs themselves are drawn either way.
    EXPECT_FALSE(InkBounds(image, cell.toRect(), [](QRgb p) { return qGray(p) < 80; }).isEmpty());
  }
}

TEST(PrintText, TextColourAndWindows1252) {
  PageFixture page;
  page.Run("*FONT /N:Arial /S:20 /C:&H000000FF");
  page.Run("*TEXT /X:20 /Y:30 /T:\x80");  // the euro sign
  const QRect ink = InkBounds(page.upper.image(), page.upper.image().rect(), IsRed);
  ASSERT_FALSE(ink.isEmpty());
  // The euro sign is as wide as a digit, far more than a C1 control.
  EXPECT_GT(ink.width(), 5);
}

TEST(PrintText, MovesToTheNextLineLikeALinePrinter) {
  PageImage page({400, 400}, ViewScale::Millimetres(kScreenDpi));
  PainterPageView& view = page.view();
  view.MoveTo(20, 30);
  view.PrintText("A");
  const double cellHeight = Cell(page, {0, 0}, "A").height() / view.scale().y;
  EXPECT_DOUBLE_EQ(view.textPosition().x(), 0.0);
  EXPECT_NEAR(view.textPosition().y(), 30 + cellHeight, 1e-9);
}

TEST(PrintNumber, OneBlankBeforeAndAfter) {
  PageImage number({400, 200}, ViewScale::Millimetres(kScreenDpi));
  PageImage text({400, 200}, ViewScale::Millimetres(kScreenDpi));
  number.view().MoveTo(10, 10);
  number.view().PrintNumber(3);
  text.view().MoveTo(10, 10);
  text.view().PrintText("3");
  const double blank = QFontMetricsF(number.view().font(), &number.image()).horizontalAdvance(' ');
  EXPECT_NEAR(InkBounds(number.image()).left() - InkBounds(text.image()).left(), blank, 1.0);
}

TEST(Clear, ErasesToWhiteKeepsTheFontAndResetsThePosition) {
  PageImage page({200, 200}, ViewScale::Millimetres(kScreenDpi));
  PainterPageView& view = page.view();
  view.SetFontSize(30);
  view.DrawRect(1, 1, 40, 40, 0x0000FF, true);
  view.MoveTo(5, 5);
  view.Clear();
  EXPECT_TRUE(InkBounds(page.image()).isEmpty());
  EXPECT_EQ(view.textPosition(), QPointF(0, 0));
  EXPECT_EQ(view.font().pointSizeF(), 30);
}

TEST(Hide, CallsTheWindowsHook) {
  PageImage page({10, 10}, ViewScale::Millimetres(kScreenDpi));
  page.view().Hide();  // no hook: nothing happens
  int hidden = 0;
  page.view().SetHideHook([&] { ++hidden; });
  page.view().Hide();
  EXPECT_EQ(hidden, 1);
}

TEST(DrawRect, FarAwayCoordinatesDrawNothingVisibleAndDoNotCrash) {
  PageImage page({100, 100}, ViewScale::Millimetres(kScreenDpi));
  page.view().DrawRect(-3.0e38F, -3.0e38F, 3.0e38F, 3.0e38F, 0x0000FF, false);
  page.view().MoveTo(3.0e38F, 3.0e38F);
  page.view().PrintText("far");
  EXPECT_TRUE(InkBounds(page.image()).isEmpty());
}

// On a printer's 1200 dots per inch a long line of text reaches far beyond
// the page: what lies on the page is drawn, what lies off it is cut, and
// nothing is dropped whole.
TEST(PrintText, LongLinesOnAPrintersResolutionKeepWhatLiesOnThePage) {
  constexpr double kDpi = 1200;
  const double dotsPerMm = kDpi / 25.4;
  const struct {
    const char* name;
    float points;
    int characters;
    bool transparent;
    float x;
    float y;
    bool ink;
  } rows[] = {
      {"120 characters at 24 pt", 24, 120, true, 20, 1, true},
      {"300 characters at 10 pt", 10, 300, true, 20, 1, true},
      {"opaque, 120 at 24 pt", 24, 120, false, 20, 1, true},
      {"opaque, 5000 at 72 pt", 72, 5000, false, 20, 1, true},
      {"transparent, 5000 at 72 pt", 72, 5000, true, 20, 1, true},
      {"starting 50 mm left of the page", 24, 400, true, -50, 1, true},
      {"starting right of the page", 24, 400, true, 1000, 1, false},
      {"below the page", 24, 400, true, 20, 5000, false},
      {"far below the page", 24, 400, true, 20, 3.0e38F, false},
  };
  for (const auto& row : rows) {
    QImage image(3000, 800, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(kDpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(kDpi / 0.0254)));
    image.fill(Qt::white);
    PainterPageView view(image, ViewScale::Millimetres(kDpi));
    ASSERT_TRUE(view.SetFontSize(row.points));
    view.SetTransparent(row.transparent);
    view.MoveTo(row.x, row.y);
    view.PrintText(std::string(static_cast<std::size_t>(row.characters), 'H'));
    const QRect ink = InkBounds(image);
    if (!row.ink) {
      EXPECT_TRUE(ink.isEmpty()) << row.name;
      continue;
    }
    ASSERT_FALSE(ink.isEmpty()) << row.name;
    EXPECT_NEAR(ink.left(), std::max(0.0, row.x * dotsPerMm), 0.2 * row.points / 72 * kDpi)
        << row.name;
    // The line runs on to the image's right edge.
    EXPECT_GE(ink.right(), image.width() - 0.8 * row.points / 72 * kDpi) << row.name;
  }
}

TEST(PageImage, HighDensityScreensGetMorePixelsForTheSamePage) {
  PageImage page({100, 100}, ViewScale::Millimetres(kScreenDpi), 2.0);
  page.view().DrawRect(10, 10, 20, 20, 0x0000FF, true);
  EXPECT_EQ(page.image().size(), QSize(200, 200));
  ExpectEdges(InkBounds(page.image()), QRectF(QPointF(75.6, 75.6), QPointF(151.2, 151.2)));
}

}  // namespace
}  // namespace lvx
