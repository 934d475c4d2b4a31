// SPDX-License-Identifier: GPL-3.0-or-later
#include "captions.h"

#include <gtest/gtest.h>

#include "button_layout.h"
#include "page_pointer.h"

namespace lvx {
namespace {

TEST(OneCharacterPerLine, AccessKeyStaysWithItsLetter) {
  const struct {
    const char* caption;
    const char* lines;
  } rows[] = {
      {"&Avanti", "&A\nv\na\nn\nt\ni"},
      {"&Sotto", "&S\no\nt\nt\no"},
      {"&Sopra", "&S\no\np\nr\na"},
      {"&Copia", "&C\no\np\ni\na"},
      {"Ab", "A\nb"},
      {"", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(OneCharacterPerLine(QString::fromUtf8(row.caption)), QString::fromUtf8(row.lines))
        << row.caption;
  }
}

TEST(Captions, PageCaptionJoinsNameAndInfoWithFiveBlanks) {
  EXPECT_EQ(PageCaption("f001.lvx", ""), QStringLiteral("f001.lvx     "));
  // The information text is Windows-1252; the name a file system name.
  EXPECT_EQ(PageCaption("caff\xC3\xA8.lvx", "Caff\xE8 \x80 10"),
            QString::fromUtf8("caffè.lvx     Caffè € 10"));
  EXPECT_EQ(ZoomCaption(ZoomHalf::kUpper, "a.lvx"), QStringLiteral("zoom sopra a.lvx"));
  EXPECT_EQ(ZoomCaption(ZoomHalf::kLower, "a.lvx"), QStringLiteral("zoom sotto a.lvx"));
}

TEST(PagePointer, GlassUpToThePageEdgeArrowBeyondHourglassWhileBusy) {
  EXPECT_EQ(PointerFor(0.0F, false), PagePointer::kGlass);
  EXPECT_EQ(PointerFor(102.0F, false), PagePointer::kGlass);
  EXPECT_EQ(PointerFor(102.01F, false), PagePointer::kArrow);
  EXPECT_EQ(PointerFor(50.0F, true), PagePointer::kBusy);
  EXPECT_EQ(PointerFor(110.0F, true), PagePointer::kBusy);
}

TEST(PagePointer, ClickOpensUpperOrLowerHalfAtThe71MillimetreLine) {
  const struct {
    float x, y;
    std::optional<ZoomHalf> half;
  } rows[] = {
      {0.0F, 0.0F, ZoomHalf::kUpper},   {101.99F, 70.99F, ZoomHalf::kUpper},
      {50.0F, 71.0F, ZoomHalf::kLower}, {50.0F, 148.0F, ZoomHalf::kLower},
      {102.0F, 10.0F, std::nullopt},    {102.0F, 80.0F, std::nullopt},
      {120.0F, 10.0F, std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ZoomHalfForClick(row.x, row.y), row.half) << row.x << ", " << row.y;
  }
}

TEST(WrappedCaption, LongCaptionsBreakAtBlanksShortOnesStay) {
  const QFont font = ButtonFont();
  EXPECT_EQ(WrappedCaption(QStringLiteral("&Esci"), font, 51), QStringLiteral("&Esci"));
  EXPECT_EQ(WrappedCaption(QStringLiteral("&Imposta Stamp."), font, 51),
            QStringLiteral("&Imposta\nStamp."));
  // A single word wider than the button cannot break.
  EXPECT_EQ(WrappedCaption(QStringLiteral("Precipitevolissimevolmente"), font, 20),
            QStringLiteral("Precipitevolissimevolmente"));
}

}  // namespace
}  // namespace lvx
