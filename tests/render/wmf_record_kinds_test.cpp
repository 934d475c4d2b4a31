// SPDX-License-Identifier: GPL-3.0-or-later
// Every record kind the metafile player knows, each drawn and checked by its
// pixels: a kind the player skipped or misread would leave them wrong.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "metafile_builder.h"
#include "page_image.h"
#include "picture_file.h"
#include "probes.h"
#include "wmf_records.h"

namespace lvx {
namespace {

using testing::WmfBuilder;
namespace wmf = lvx::wmf;

// Colours as the records write them, 0x00BBGGRR, split into two words.
constexpr std::uint16_t kBlueLow = 0x0000;
constexpr std::uint16_t kBlueHigh = 0x00FF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

// A 40 by 20 mm frame of 400 by 200 units; the pen is off (slot 0) and a
// red brush is selected (slot 1).
WmfBuilder Frame() {
  return std::move(
      WmfBuilder({0, 0, 400, 200}, 254).NullPen().Select(0).SolidBrush(kRed).Select(1));
}

// The picture drawn at (0, 0) on a 96-dpi millimetre view.
QImage Drawn(const QByteArray& wmf) {
  const auto picture = DecodePicture(wmf);
  PageImage page({160, 80}, ViewScale::Millimetres(kScreenDpi));
  if (picture) page.view().DrawPicture(*picture, 0, 0, std::nullopt);
  return page.image();
}

enum class Ink { kRedInk, kBlueInk, kBlackInk };
enum class Want { kAll, kSome, kNone };

bool Matches(Ink ink, QRgb pixel) {
  switch (ink) {
    case Ink::kRedInk:
      return testing::IsRed(pixel);
    case Ink::kBlueInk:
      return testing::IsBlue(pixel);
    case Ink::kBlackInk:
      return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
  }
  return false;
}

// What the pixels of an area of the picture, in millimetres, must show.
struct Expect {
  double x1, y1, x2, y2;
  Ink ink;
  Want want;
};

// The whole pixels inside the area.
QRect PixelsInside(const Expect& e) {
  const double k = kScreenDpi / 25.4;
  return QRect(QPoint(static_cast<int>(std::ceil(e.x1 * k)), static_cast<int>(std::ceil(e.y1 * k))),
               QPoint(static_cast<int>(std::floor(e.x2 * k)) - 1,
                      static_cast<int>(std::floor(e.y2 * k)) - 1));
}

bool Holds(const QImage& image, const Expect& e) {
  const QRect area = PixelsInside(e);
  // An area too small for a whole pixel would hold anything.
  if (area.isEmpty()) return false;
  const auto matches = [&](QRgb pixel) { return Matches(e.ink, pixel); };
  const QRect found = testing::InkBounds(image, area, matches);
  switch (e.want) {
    case Want::kNone:
      return found.isEmpty();
    case Want::kSome:
      return !found.isEmpty();
    case Want::kAll:
      return testing::InkBounds(image, area, [&](QRgb pixel) { return !matches(pixel); }).isEmpty();
  }
  return false;
}

std::vector<std::uint16_t> Joined(std::vector<std::uint16_t> words,
                                  const std::vector<std::uint16_t>& more) {
  words.insert(words.end(), more.begin(), more.end());
  return words;
}

QImage BlueBitmap() {
  QImage bitmap(8, 8, QImage::Format_RGB32);
  bitmap.fill(Qt::blue);
  return bitmap;
}

// A blue pen two millimetres wide, selected.
void BluePen(WmfBuilder& b) {
  b.Object(wmf::kCreatePenIndirect, {0, 20, 0, kBlueLow, kBlueHigh}).Select(2);
}

// "HH" at (5, 5) mm in a font of 10 mm.
void Text(WmfBuilder& b) {
  b.Font(100, "Arial").Select(2).TextOut(50, 50, "HH");
}

void FullRectangle(WmfBuilder& b) {
  b.Rectangle({0, 0, 400, 200});
}

struct Row {
  const char* name;
  std::uint16_t kind;
  std::function<void(WmfBuilder&)> records;
  std::vector<Expect> expects;
};

// Where the text of Text() may show ink, and where it may not.
const Expect kTextInk{5, 5, 25, 16, Ink::kBlackInk, Want::kSome};
const Expect kNoTextRight{26, 0, 40, 20, Ink::kBlackInk, Want::kNone};

std::vector<Row> Rows() {
  const std::vector<std::uint16_t> placeholderWords = {0, 0, 0, 0};
  const std::vector<std::uint16_t> nestedSquares = {2,   4,   4,  50,  20, 350, 20,  350, 180, 50,
                                                    180, 150, 70, 250, 70, 250, 130, 150, 130};
  return {
      {"Eof ends the records",
       wmf::kEof,
       [](WmfBuilder& b) { FullRectangle(b.Record(wmf::kEof, {})); },
       {{0, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"SaveDc keeps the red brush",
       wmf::kSaveDc,
       [](WmfBuilder& b) {
         b.Record(wmf::kSaveDc, {}).SolidBrush(kBlue).Select(2).Record(wmf::kRestoreDc, {0xFFFF});
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"RestoreDc to a depth",
       wmf::kRestoreDc,
       [](WmfBuilder& b) {
         b.Record(wmf::kSaveDc, {}).SolidBrush(kBlue).Select(2).Record(wmf::kSaveDc, {});
         b.Record(wmf::kRestoreDc, {1});
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"CreatePalette takes a slot and draws nothing",
       wmf::kCreatePalette,
       [=](WmfBuilder& b) {
         b.Object(wmf::kCreatePalette, placeholderWords).SolidBrush(kBlue).Select(2);
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"CreatePatternBrush takes a slot and draws nothing",
       wmf::kCreatePatternBrush,
       [=](WmfBuilder& b) {
         b.Object(wmf::kCreatePatternBrush, placeholderWords).SolidBrush(kBlue).Select(2);
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"CreateRegion takes a slot and draws nothing",
       wmf::kCreateRegion,
       [=](WmfBuilder& b) {
         b.Object(wmf::kCreateRegion, placeholderWords).SolidBrush(kBlue).Select(2);
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"DibCreatePatternBrush fills with its bitmap",
       wmf::kDibCreatePatternBrush,
       [](WmfBuilder& b) {
         b.Object(wmf::kDibCreatePatternBrush, Joined({5, 0}, WmfBuilder::Dib(BlueBitmap())))
             .Select(2);
         FullRectangle(b);
       },
       {{1, 1, 39, 19, Ink::kBlueInk, Want::kAll}}},
      {"SelectObject",
       wmf::kSelectObject,
       [](WmfBuilder& b) { FullRectangle(b.SolidBrush(kBlue).Select(2)); },
       {{1, 1, 39, 19, Ink::kBlueInk, Want::kAll}}},
      {"DeleteObject empties the slot",
       wmf::kDeleteObject,
       [](WmfBuilder& b) {
         FullRectangle(b.SolidBrush(kBlue).Record(wmf::kDeleteObject, {2}).Select(2));
       },
       {{1, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"CreateBrushIndirect solid",
       wmf::kCreateBrushIndirect,
       [](WmfBuilder& b) {
         FullRectangle(b.Object(wmf::kCreateBrushIndirect, {0, kBlueLow, kBlueHigh, 0}).Select(2));
       },
       {{1, 1, 39, 19, Ink::kBlueInk, Want::kAll}}},
      {"CreateBrushIndirect hollow",
       wmf::kCreateBrushIndirect,
       [](WmfBuilder& b) {
         FullRectangle(b.Object(wmf::kCreateBrushIndirect, {1, 0, 0, 0}).Select(2));
       },
       {{0, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"CreatePenIndirect outlines",
       wmf::kCreatePenIndirect,
       [](WmfBuilder& b) {
         BluePen(b);
         b.Object(wmf::kCreateBrushIndirect, {1, 0, 0, 0}).Select(3).Rectangle({100, 50, 200, 100});
       },
       {{9.5, 8, 10.5, 12, Ink::kBlueInk, Want::kAll},
        {13, 7, 27, 13, Ink::kBlueInk, Want::kNone},
        {13, 7, 27, 13, Ink::kRedInk, Want::kNone}}},
      {"CreateFontIndirect sets the height",
       wmf::kCreateFontIndirect,
       [](WmfBuilder& b) { b.Font(150, "Arial").Select(2).TextOut(50, 20, "HH"); },
       {{5, 13, 30, 15.5, Ink::kBlackInk, Want::kSome},
        {0, 17.5, 40, 20, Ink::kBlackInk, Want::kNone}}},
      {"TextOut", wmf::kTextOut, Text, {kTextInk, kNoTextRight}},
      {"ExtTextOut spaces by its advances",
       wmf::kExtTextOut,
       [](WmfBuilder& b) {
         b.Font(100, "Arial").Select(2);
         b.Record(wmf::kExtTextOut, {50, 50, 2, 0, 0x4848, 200, 200});
       },
       {{25, 5, 33, 16, Ink::kBlackInk, Want::kSome},
        {13, 0, 24, 20, Ink::kBlackInk, Want::kNone}}},
      {"ExtTextOut fills its opaque rectangle",
       wmf::kExtTextOut,
       [](WmfBuilder& b) {
         b.Record(wmf::kSetBkColor, {kBlueLow, kBlueHigh});
         b.Record(wmf::kExtTextOut, {0, 0, 0, 2, 300, 0, 400, 200});
       },
       {{31, 1, 39, 19, Ink::kBlueInk, Want::kAll}, {0, 0, 29, 20, Ink::kBlueInk, Want::kNone}}},
      {"SetBkColor fills the text's cell",
       wmf::kSetBkColor,
       [](WmfBuilder& b) {
         FullRectangle(b);
         Text(b.Record(wmf::kSetBkColor, {kBlueLow, kBlueHigh}));
       },
       {{5, 5, 25, 16, Ink::kBlueInk, Want::kSome}, {27, 0, 40, 20, Ink::kBlueInk, Want::kNone}}},
      {"SetBkMode transparent",
       wmf::kSetBkMode,
       [](WmfBuilder& b) {
         FullRectangle(b);
         Text(b.Record(wmf::kSetBkColor, {kBlueLow, kBlueHigh}).Record(wmf::kSetBkMode, {1}));
       },
       {{0, 0, 40, 20, Ink::kBlueInk, Want::kNone}, kTextInk}},
      {"SetTextColor",
       wmf::kSetTextColor,
       [](WmfBuilder& b) {
         Text(b.Record(wmf::kSetTextColor, {kBlueLow, kBlueHigh}));
       },
       {{5, 5, 25, 16, Ink::kBlueInk, Want::kSome}, {0, 0, 40, 20, Ink::kBlackInk, Want::kNone}}},
      {"SetTextAlign right",
       wmf::kSetTextAlign,
       [](WmfBuilder& b) {
         b.Record(wmf::kSetTextAlign, {2}).Font(100, "Arial").Select(2).TextOut(350, 50, "HH");
       },
       {{18, 5, 35, 16, Ink::kBlackInk, Want::kSome},
        {0, 0, 16, 20, Ink::kBlackInk, Want::kNone},
        {36, 0, 40, 20, Ink::kBlackInk, Want::kNone}}},
      {"SetWindowOrg",
       wmf::kSetWindowOrg,
       [](WmfBuilder& b) {
         b.WindowOrg(100, 50).Rectangle({100, 50, 100, 50});
       },
       {{1, 1, 9, 4, Ink::kRedInk, Want::kAll}, {11, 6, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"OffsetWindowOrg",
       wmf::kOffsetWindowOrg,
       [](WmfBuilder& b) {
         b.Record(wmf::kOffsetWindowOrg, {50, 100}).Rectangle({100, 50, 100, 50});
       },
       {{1, 1, 9, 4, Ink::kRedInk, Want::kAll}, {11, 6, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"SetWindowExt",
       wmf::kSetWindowExt,
       [](WmfBuilder& b) { FullRectangle(b.WindowExt(800, 400)); },
       {{1, 1, 19, 9, Ink::kRedInk, Want::kAll}, {21, 11, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"ScaleWindowExt",
       wmf::kScaleWindowExt,
       [](WmfBuilder& b) {
         FullRectangle(b.Record(wmf::kScaleWindowExt, {1, 2, 1, 2}));
       },
       {{1, 1, 19, 9, Ink::kRedInk, Want::kAll}, {21, 11, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"IntersectClipRect",
       wmf::kIntersectClipRect,
       [](WmfBuilder& b) {
         FullRectangle(b.Record(wmf::kIntersectClipRect, {100, 200, 0, 0}));
       },
       {{1, 1, 19, 9, Ink::kRedInk, Want::kAll}, {21, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"ExcludeClipRect",
       wmf::kExcludeClipRect,
       [](WmfBuilder& b) {
         FullRectangle(b.Record(wmf::kExcludeClipRect, {150, 300, 50, 100}));
       },
       {{1, 1, 8, 19, Ink::kRedInk, Want::kAll}, {12, 7, 28, 13, Ink::kRedInk, Want::kNone}}},
      {"MoveTo starts the next line",
       wmf::kMoveTo,
       [](WmfBuilder& b) {
         BluePen(b);
         b.Record(wmf::kMoveTo, {20, 350}).Record(wmf::kLineTo, {180, 350});
       },
       {{34.6, 9, 35.4, 11, Ink::kBlueInk, Want::kAll},
        {16.5, 8.2, 18.5, 9.8, Ink::kBlueInk, Want::kNone}}},
      {"LineTo",
       wmf::kLineTo,
       [](WmfBuilder& b) {
         BluePen(b);
         b.Record(wmf::kMoveTo, {100, 50}).Record(wmf::kLineTo, {100, 350});
       },
       {{10, 9.5, 30, 10.5, Ink::kBlueInk, Want::kAll}, {0, 0, 4, 20, Ink::kBlueInk, Want::kNone}}},
      {"Polyline is not filled",
       wmf::kPolyline,
       [](WmfBuilder& b) {
         BluePen(b);
         b.Record(wmf::kPolyline, {3, 50, 100, 350, 100, 350, 180});
       },
       {{19, 9.5, 21, 10.5, Ink::kBlueInk, Want::kAll}, {0, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"Polygon",
       wmf::kPolygon,
       [](WmfBuilder& b) {
         b.Record(wmf::kPolygon, {3, 100, 150, 300, 150, 200, 50});
       },
       {{18, 11, 22, 14, Ink::kRedInk, Want::kAll}, {10, 5, 13, 8, Ink::kRedInk, Want::kNone}}},
      {"PolyPolygon leaves the inner square a hole",
       wmf::kPolyPolygon,
       [=](WmfBuilder& b) { b.Record(wmf::kPolyPolygon, nestedSquares); },
       {{7, 4, 13, 16, Ink::kRedInk, Want::kAll}, {17, 9, 23, 11, Ink::kRedInk, Want::kNone}}},
      {"SetPolyFillMode winding fills the inner square",
       wmf::kSetPolyFillMode,
       [=](WmfBuilder& b) {
         b.Record(wmf::kSetPolyFillMode, {2}).Record(wmf::kPolyPolygon, nestedSquares);
       },
       {{7, 4, 33, 16, Ink::kRedInk, Want::kAll}}},
      {"Rectangle",
       wmf::kRectangle,
       [](WmfBuilder& b) {
         b.Rectangle({100, 50, 200, 100});
       },
       {{12, 7, 28, 13, Ink::kRedInk, Want::kAll},
        {0, 0, 9, 20, Ink::kRedInk, Want::kNone},
        {31, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"RoundRect rounds its corners",
       wmf::kRoundRect,
       [](WmfBuilder& b) {
         b.Record(wmf::kRoundRect, {80, 80, 150, 300, 50, 100});
       },
       {{10.5, 9, 29.5, 11, Ink::kRedInk, Want::kAll}, {10, 5, 11, 6, Ink::kRedInk, Want::kNone}}},
      {"Ellipse",
       wmf::kEllipse,
       [](WmfBuilder& b) {
         b.Record(wmf::kEllipse, {150, 300, 50, 100});
       },
       {{18, 9, 22, 11, Ink::kRedInk, Want::kAll}, {10, 5, 11.5, 6.5, Ink::kRedInk, Want::kNone}}},
      {"Arc draws the upper half",
       wmf::kArc,
       [](WmfBuilder& b) {
         BluePen(b);
         b.Record(wmf::kArc, {100, 100, 100, 300, 180, 300, 20, 100});
       },
       {{19.5, 1.7, 20.5, 2.3, Ink::kBlueInk, Want::kAll},
        {19, 16, 21, 19, Ink::kBlueInk, Want::kNone},
        {0, 0, 40, 20, Ink::kRedInk, Want::kNone}}},
      {"Pie fills its quarter from the centre",
       wmf::kPie,
       [](WmfBuilder& b) {
         b.Record(wmf::kPie, {20, 200, 100, 300, 180, 300, 20, 100});
       },
       {{20.5, 8.5, 21.5, 9.5, Ink::kRedInk, Want::kAll},
        {12, 4, 15, 8, Ink::kRedInk, Want::kNone},
        {19, 11.5, 21, 17, Ink::kRedInk, Want::kNone}}},
      {"Chord cuts along its chord",
       wmf::kChord,
       [](WmfBuilder& b) {
         b.Record(wmf::kChord, {20, 200, 100, 300, 180, 300, 20, 100});
       },
       {{26.5, 4.5, 27.5, 5.5, Ink::kRedInk, Want::kAll},
        {20.5, 8.5, 21.5, 9.5, Ink::kRedInk, Want::kNone}}},
      {"SetPixel",
       wmf::kSetPixel,
       [](WmfBuilder& b) {
         b.WindowExt(40, 20).Record(wmf::kSetPixel, {kBlueLow, kBlueHigh, 10, 20});
       },
       {{20.2, 10.2, 20.8, 10.8, Ink::kBlueInk, Want::kAll},
        {22, 0, 40, 20, Ink::kBlueInk, Want::kNone}}},
      {"PatBlt copies the brush",
       wmf::kPatBlt,
       [](WmfBuilder& b) {
         b.SolidBrush(kBlue).Select(2).Record(wmf::kPatBlt, {0x0021, 0x00F0, 100, 200, 50, 100});
       },
       {{11, 6, 29, 14, Ink::kBlueInk, Want::kAll}, {0, 0, 9, 20, Ink::kBlueInk, Want::kNone}}},
      {"PatBlt blackness",
       wmf::kPatBlt,
       [](WmfBuilder& b) {
         b.Record(wmf::kPatBlt, {0x0042, 0x0000, 100, 200, 50, 100});
       },
       {{11, 6, 29, 14, Ink::kBlackInk, Want::kAll}, {0, 0, 9, 20, Ink::kBlackInk, Want::kNone}}},
      {"DibBitBlt copies its bitmap",
       wmf::kDibBitBlt,
       [](WmfBuilder& b) {
         b.WindowExt(40, 20).Record(wmf::kDibBitBlt, Joined({0x0020, 0x00CC, 0, 0, 8, 8, 5, 10},
                                                            WmfBuilder::Dib(BlueBitmap())));
       },
       {{11, 6, 17, 12, Ink::kBlueInk, Want::kAll}, {19, 0, 40, 20, Ink::kBlueInk, Want::kNone}}},
      {"DibBitBlt without a bitmap whitens",
       wmf::kDibBitBlt,
       [](WmfBuilder& b) {
         b.WindowExt(40, 20).Rectangle({0, 0, 40, 20});
         b.Record(wmf::kDibBitBlt, {0x0062, 0x00FF, 0, 0, 0, 8, 8, 5, 10});
       },
       {{11, 6, 17, 12, Ink::kRedInk, Want::kNone}, {20, 1, 39, 19, Ink::kRedInk, Want::kAll}}},
      {"DibStretchBlt stretches its bitmap",
       wmf::kDibStretchBlt,
       [](WmfBuilder& b) {
         b.WindowExt(40, 20).Record(
             wmf::kDibStretchBlt,
             Joined({0x0020, 0x00CC, 8, 8, 0, 0, 10, 20, 5, 10}, WmfBuilder::Dib(BlueBitmap())));
       },
       {{11, 6, 29, 14, Ink::kBlueInk, Want::kAll}, {31, 0, 40, 20, Ink::kBlueInk, Want::kNone}}},
      {"DibStretchBlt without a bitmap blackens",
       wmf::kDibStretchBlt,
       [](WmfBuilder& b) {
         b.WindowExt(40, 20).Record(wmf::kDibStretchBlt,
                                    {0x0042, 0x0000, 0, 8, 8, 0, 0, 10, 20, 5, 10});
       },
       {{11, 6, 29, 14, Ink::kBlackInk, Want::kAll}, {31, 0, 40, 20, Ink::kBlackInk, Want::kNone}}},
      {"StretchDib",
       wmf::kStretchDib,
       [](WmfBuilder& b) {
         b.StretchDib({100, 50, 200, 100}, BlueBitmap());
       },
       {{11, 6, 29, 14, Ink::kBlueInk, Want::kAll}, {31, 0, 40, 20, Ink::kBlueInk, Want::kNone}}},
  };
}

TEST(WmfRecordKinds, EachKindDrawsWhatItSays) {
  for (const Row& row : Rows()) {
    WmfBuilder builder = Frame();
    row.records(builder);
    const QImage image = Drawn(builder.Bytes());
    for (std::size_t i = 0; i < row.expects.size(); ++i) {
      EXPECT_TRUE(Holds(image, row.expects[i])) << row.name << ", expectation " << i;
    }
  }
}

TEST(WmfRecordKinds, EveryKindThePlayerKnowsHasARow) {
  const std::set<std::uint16_t> known = {
      wmf::kEof,
      wmf::kSaveDc,
      wmf::kCreatePalette,
      wmf::kSetBkMode,
      wmf::kSetPolyFillMode,
      wmf::kRestoreDc,
      wmf::kSelectObject,
      wmf::kSetTextAlign,
      wmf::kDibCreatePatternBrush,
      wmf::kDeleteObject,
      wmf::kCreatePatternBrush,
      wmf::kSetBkColor,
      wmf::kSetTextColor,
      wmf::kSetWindowOrg,
      wmf::kSetWindowExt,
      wmf::kOffsetWindowOrg,
      wmf::kLineTo,
      wmf::kMoveTo,
      wmf::kCreatePenIndirect,
      wmf::kCreateFontIndirect,
      wmf::kCreateBrushIndirect,
      wmf::kPolygon,
      wmf::kPolyline,
      wmf::kScaleWindowExt,
      wmf::kExcludeClipRect,
      wmf::kIntersectClipRect,
      wmf::kEllipse,
      wmf::kRectangle,
      wmf::kSetPixel,
      wmf::kTextOut,
      wmf::kPolyPolygon,
      wmf::kRoundRect,
      wmf::kPatBlt,
      wmf::kCreateRegion,
      wmf::kArc,
      wmf::kPie,
      wmf::kChord,
      wmf::kDibBitBlt,
      wmf::kExtTextOut,
      wmf::kDibStretchBlt,
      wmf::kStretchDib,
  };
  std::set<std::uint16_t> covered;
  for (const Row& row : Rows()) covered.insert(row.kind);
  EXPECT_EQ(known.size(), 41u);
  EXPECT_EQ(covered, known);
}

}  // namespace
}  // namespace lvx
