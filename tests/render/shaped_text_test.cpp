// SPDX-License-Identifier: GPL-3.0-or-later
// Texts on a window's image are laid out once and drawn from their glyphs:
// the pixels must be those drawText gives.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <string>

#include "cp1252.h"
#include "page_image.h"
#include "shaped_text.h"

namespace lvx {
namespace {

QImage ScreenImage(QSize size, double ratio = 1.0) {
  QImage image(size, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  return image;
}

QFont Font(const char* family, double points, bool bold = false, bool italic = false) {
  QFont font;
  font.setFamilies({QString::fromLatin1(family)});
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

TEST(ShapedTexts, KeepsATextPerFontWithTheAdvanceOfItsMetrics) {
  const QImage device = ScreenImage({10, 10});
  ShapedTexts texts;
  const QFont arial = Font("Liberation Sans", 9);
  const QFont courier = Font("Liberation Mono", 10, true);
  for (const std::string text :
       {"Codice", "  29 trailing  ", "a\ttab", "\x80 1.234,50", "AVAVA fi ffl", " "}) {
    SCOPED_TRACE(text);
    const ShapedText* first = texts.Find(arial, device, Qt::LeftToRight, text);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(texts.Find(arial, device, Qt::LeftToRight, text), first);
    const ShapedText* other = texts.Find(courier, device, Qt::LeftToRight, text);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    const QString unicode = QString::fromStdString(Utf8From1252(text));
    EXPECT_EQ(first->advance, QFontMetricsF(arial, &device).horizontalAdvance(unicode));
    EXPECT_EQ(other->advance, QFontMetricsF(courier, &device).horizontalAdvance(unicode));
  }
  EXPECT_EQ(texts.Facts(arial, device, Qt::LeftToRight).ascent,
            QFontMetricsF(arial, &device).ascent());
}

TEST(ShapedTexts, TakesNoLongTextsNorLineBreaksAndStaysBounded) {
  const QImage device = ScreenImage({10, 10});
  ShapedTexts texts;
  const QFont font = Font("Liberation Sans", 9);
  for (const std::string& text :
       {std::string(ShapedTexts::kMaxLength + 1, 'x'), std::string("two\nlines"),
        std::string("cr\rhere"), std::string("nul\0in", 6), std::string("\x1f")}) {
    EXPECT_EQ(texts.Find(font, device, Qt::LeftToRight, text), nullptr) << text.size();
  }
  EXPECT_NE(texts.Find(font, device, Qt::LeftToRight, std::string(ShapedTexts::kMaxLength, 'x')),
            nullptr);
  for (std::size_t i = 0; i < ShapedTexts::kMaxTexts + 10; ++i) {
    texts.Find(font, device, Qt::LeftToRight, std::to_string(i));
    ASSERT_LE(texts.size(), ShapedTexts::kMaxTexts);
  }
}

// The view's text against drawText on an image of the same kind.
TEST(ShapedTexts, DrawTheSamePixelsAsDrawText) {
  const struct {
    const char* family;
    double points;
    bool bold;
    bool italic;
    const char* text;
  } fonts[] = {
      {"Arial", 8, false, false, "Codice  Descrizione \x80 1.234,50"},
      {"Times New Roman", 11, true, true, "Spett.le Fran\xe7oise Lef\xe8vre AVAVA ffi"},
      {"Courier New", 10, false, false, "    29\t   17.964,92  "},
      {"Arial", 14, true, false, "FATTURA"},
  };
  for (const double ratio : {1.0, 1.25, 1.5, 2.0}) {
    for (const auto& font : fonts) {
      for (const double x : {10.0, 10.013, 10.37, 33.333}) {
        SCOPED_TRACE(::testing::Message() << "ratio " << ratio << ", " << font.text << " at " << x);
        PageImage page({500, 60}, ViewScale::Millimetres(kScreenDpi), ratio);
        PainterPageView& view = page.view();
        ASSERT_TRUE(view.SetFontName(font.family));
        ASSERT_TRUE(view.SetFontSize(static_cast<float>(font.points)));
        view.SetBold(font.bold);
        view.SetItalic(font.italic);
        view.SetTransparent(true);
        // Twice: once laid out, once from what was kept.
        for (int pass = 0; pass < 2; ++pass) {
          view.Clear();
          view.MoveTo(static_cast<float>(x), 3.7F);
          view.PrintText(font.text);
        }

        QImage expected = ScreenImage(page.image().size(), ratio);
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(view.font());
        painter.setPen(Qt::black);
        const ViewScale scale = view.scale();
        const QFontMetricsF metrics(view.font(), &expected);
        painter.drawText(
            QPointF(static_cast<float>(x) * scale.x, 3.7F * scale.y + metrics.ascent()),
            QString::fromStdString(Utf8From1252(font.text)));
        painter.end();
        EXPECT_EQ(page.image(), expected);
      }
    }
  }
}

}  // namespace
}  // namespace lvx
