// SPDX-License-Identifier: GPL-3.0-or-later
// lvxprint's PDF writer, drawn on with a QPainter and read back with
// poppler's tools: text stays text in subset fonts where it was drawn,
// pictures are stored once, and what the painter did shows on the page.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <cstring>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include "metafile_builder.h"
#include "owned_fd.h"
#include "page_image.h"
#include "painter_page_view.h"
#include "pdf_check.h"
#include "pdf_content.h"
#include "pdf_document.h"
#include "pdf_paint_engine.h"
#include "pdf_probe.h"
#include "pdf_shared_start.h"
#include "pdf_syntax.h"
#include "picture_file.h"
#include "temp_dir.h"

namespace lvx::testing {
namespace {

constexpr double kDotsPerMm = PdfDocument::kResolution / 25.4;
const QSizeF kPortrait(595.2756, 841.8898);
const QSizeF kLandscape(841.8898, 595.2756);

// A file created for writing; -1 when it cannot be made.
int Created(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

// A PDF file drawn by `draw`, which gets the painter in millimetres on the
// first page (StartPage opens the next ones), and found sound by qpdf
// before poppler's tools read or draw it.
std::string Written(const TempDir& dir, const std::function<void(QPainter&, PdfDocument&)>& draw) {
  const std::string path = dir.path() + "/out.pdf";
  const OwnedFd file(Created(path));
  PdfDocument document(file.fd(), QStringLiteral("Test"));
  document.StartPage(kPortrait);
  QPainter painter;
  if (!painter.begin(&document)) throw std::runtime_error("the painter did not begin");
  painter.scale(kDotsPerMm, kDotsPerMm);
  draw(painter, document);
  painter.end();
  if (!document.Finish()) throw std::runtime_error("the file was not finished");
  if (const std::string faults = PdfFaults(path); !faults.empty()) throw std::runtime_error(faults);
  return path;
}

std::string Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    throw std::runtime_error(program.toStdString() + " failed");
  }
  return process.readAllStandardOutput().toStdString();
}

// The colour at millimetres (x, y) of a page rendered at 72 dpi.
QRgb At(const QImage& page, double x, double y) {
  const double k = 72 / 25.4;
  return page.pixel(static_cast<int>(x * k), static_cast<int>(y * k)) & 0xFFFFFF;
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
         std::abs(qBlue(a) - qBlue(b)) <= 8;
}

PdfProbe Probe(const std::string& path) {
  auto probe = PdfProbe::Read(path);
  if (!probe) throw std::runtime_error("poppler cannot read " + path);
  return *probe;
}

QFont Font(const char* family, double points, bool bold = false, bool italic = false) {
  QFont font{QString::fromLatin1(family)};
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setItalic(italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

// Text drawn as the pages draw it: unscaled, with its top-left at (x, y) mm.
void TextAt(QPainter& painter, const QFont& font, double x, double y, const QString& text) {
  painter.save();
  painter.resetTransform();
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  painter.drawText(QPointF(x * kDotsPerMm, y * kDotsPerMm + metrics.ascent()), text);
  painter.restore();
}

TEST(PdfSyntax, NumbersAreShortAndExactToTheirDecimals) {
  struct Row {
    double value;
    int decimals;
    const char* text;
  };
  for (const Row& row :
       {Row{0, 3, "0 "}, Row{100, 3, "100 "}, Row{12.5, 3, "12.5 "}, Row{1.23456, 3, "1.235 "},
        Row{1.23456, 2, "1.23 "}, Row{-3.1, 2, "-3.1 "}, Row{-0.0001, 3, "0 "},
        Row{0.0004, 3, "0 "}, Row{1e12, 3, "1000000000 "}, Row{std::nan(""), 3, "0 "}}) {
    std::string out;
    AppendNumber(out, row.value, row.decimals);
    EXPECT_EQ(out, row.text) << row.value;
  }
}

TEST(PdfSyntax, FixedNumbersAreExactAndShort) {
  struct Row {
    std::int64_t units;
    int decimals;
    const char* text;
  };
  for (const Row& row :
       {Row{0, 2, "0 "}, Row{1505, 2, "15.05 "}, Row{-1505, 2, "-15.05 "}, Row{1500, 2, "15 "},
        Row{1550, 2, "15.5 "}, Row{-5, 2, "-0.05 "}, Row{-120, 0, "-120 "}, Row{7, 3, "0.007 "},
        Row{INT64_MIN, 2, "-92233720368547758.08 "}}) {
    std::string out;
    AppendFixed(out, row.units, row.decimals);
    EXPECT_EQ(out, row.text) << row.units;
  }
}

// A content stream may be cut only between tokens: never inside a string,
// whose glyph codes may be any byte, a line end among them.
TEST(PdfSyntax, ContentIsCutAtALineEndOutsideStrings) {
  struct Row {
    std::string_view content;
    std::size_t cut;
  };
  for (const Row& row :
       {Row{"", 0}, Row{"q", 0}, Row{"q\nQ\n", 4}, Row{"q\nQ", 2}, Row{"[(a\nb)]TJ", 0},
        Row{"[(a\nb)]TJ\n1 g", 10}, Row{"[(a\\)\n)]TJ\n", 11}, Row{"[(a(\n)\n)]TJ\n", 12},
        Row{"[(a\\\\)]TJ\n", 10}, Row{"[(unclosed\n", 0}}) {
    EXPECT_EQ(LastLineEnd(row.content), row.cut) << row.content;
  }
}

TEST(PdfSyntax, LiteralStringsEscapeWhatAReaderWouldChange) {
  std::string out;
  AppendLiteral(out, std::string_view("a(b)c\\\r\n\0\xFF", 10));
  EXPECT_EQ(out, std::string("(a\\(b\\)c\\\\\\r\\n\0\xFF)", 17));
  EXPECT_EQ(PlainName("Liberation Sans-Bold!"), "LiberationSans-Bold");
  EXPECT_EQ(PlainName("***"), "Font");
}

TEST(PdfContent, StateIsWrittenOnlyWhenItChanges) {
  PdfContent content;
  content.FillColour(qRgb(0, 0, 0));  // a new page's colour
  content.FillColour(qRgb(255, 0, 0));
  content.FillColour(qRgb(255, 0, 0));
  content.StrokeColour(qRgb(128, 128, 128));
  content.LineWidth(1);  // a new page's width
  content.Dash({}, 0);   // solid, as on a new page
  content.Save();
  content.FillColour(qRgb(0, 0, 255));
  content.Restore();
  content.FillColour(qRgb(255, 0, 0));  // what the restore brought back
  content.Save();
  content.Save();
  content.RestoreAll();
  EXPECT_EQ(content.data(), "1 0 0 rg\n0.502 G\nq\n0 0 1 rg\nQ\nq\nq\nQ\nQ\n");
  content.Clear();
  EXPECT_EQ(content.data(), "");
  content.FillColour(qRgb(255, 0, 0));
  EXPECT_EQ(content.data(), "1 0 0 rg\n") << "a new page sets its colours again";
}

TEST(PdfContent, TextsInARowShareOneTextObject) {
  PdfContent content;
  const auto text = [&](double x, double y) {
    content.BeginText();
    content.Font("F1", 9);
    content.TextAt(x, y);
    content.Raw() += "[(a)]TJ\n";
    content.EndText();
  };
  text(56.694, 700.1);
  text(56.694, 684.5);
  content.FillColour(qRgb(255, 0, 0));  // goes inside
  text(100.006, 684.5);
  content.Rect(1, 2, 3, 4);  // cannot go inside
  content.Operator("f");
  text(10, 10);
  content.BeginText();
  content.TextMatrix(QTransform(0, 1, -1, 0, 30, 40));
  content.Raw() += "[(b)]TJ\n";
  content.EndText();
  text(20, 20);  // after a whole matrix, placed anew
  EXPECT_EQ(content.data(),
            "BT\n/F1 9 Tf\n56.69 700.1 Td\n[(a)]TJ\n0 -15.6 Td\n[(a)]TJ\n1 0 0 rg\n"
            "43.32 0 Td\n[(a)]TJ\nET\n1 2 3 4 re\nf\nBT\n10 10 Td\n[(a)]TJ\n"
            "0 1 -1 0 30 40 Tm\n[(b)]TJ\nET\nBT\n20 20 Td\n[(a)]TJ\nET\n");
}

// Pages that begin alike share that start, part by part: a form on every
// page, then what the pages of one document repeat. A part that no longer
// fits makes way for a new one; a short one is not worth sharing.
TEST(PdfSharedStart, PagesBeginningAlikeShareTheirStart) {
  const TempDir dir;
  const OwnedFd out(Created(dir.path() + "/out.pdf"));
  PdfFile file(out.fd());
  PdfSharedStart shared(file);
  std::string form;
  for (int i = 0; i < 20; ++i) form += "0 0 100 " + std::to_string(i) + " re\nf\n";
  const auto heading = [](int document) {
    std::string lines;
    for (int i = 0; i < 30; ++i) {
      lines += "0 0 " + std::to_string(document) + " " + std::to_string(i) + " re\nf\n";
    }
    return lines;
  };
  const std::string other = std::string(200, ' ') + "\n" + std::string(100, ' ') + "\n";
  const std::size_t first = form.size() + heading(1).size();
  const std::size_t both = form.size() + heading(2).size();
  struct Row {
    std::string content;
    std::size_t parts;
    std::size_t length;
  };
  const Row rows[] = {
      {form + heading(1) + "1 g\n", 0, 0},  // nothing before it
      {form + heading(1) + "0 g\n", 1, first},
      {form + heading(2) + "1 g\n", 1, form.size()},  // a new document
      {form + heading(2) + "0 g\n", 2, both},
      {form + heading(2) + "0.5 g\n", 2, both},
      {form + heading(2), 2, both},  // the start alone
      {form + heading(3), 1, form.size()},
      {other + "q\n", 0, 0},
      {other.substr(0, 201) + "Q\n", 0, 0},  // too short to share
  };
  std::set<int> objects;
  for (const Row& row : rows) {
    const PdfSharedStart::Start start = shared.For(row.content);
    EXPECT_EQ(start.objects.size(), row.parts) << row.content;
    EXPECT_EQ(start.length, row.length) << row.content;
    objects.insert(start.objects.begin(), start.objects.end());
  }
  EXPECT_EQ(objects.size(), 3U) << "each part is written once";
}

TEST(PdfWriter, TextStaysTextWhereItWasDrawn) {
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument&) {
    painter.setPen(Qt::black);
    TextAt(painter, Font("Arial", 12), 20, 30, QStringLiteral("Fattura 17"));
    TextAt(painter, Font("Times New Roman", 11, false, true), 100, 200,
           QString::fromUtf8("Caffè Società"));
    TextAt(painter, Font("Courier New", 10), 150, 250, QStringLiteral("1.234,50 (x)"));
  });
  const PdfProbe probe = Probe(pdf);
  ASSERT_EQ(probe.pages.size(), 1U);
  const PdfPage& page = probe.pages[0];
  EXPECT_EQ(page.Text(), "Fattura 17 Caffè Società 1.234,50 (x)");
  const PdfWord* fattura = page.Find("Fattura");
  ASSERT_NE(fattura, nullptr);
  EXPECT_NEAR(fattura->left, 20, 0.2);
  EXPECT_NEAR(fattura->top, 30, 0.5);
  const PdfWord* caffe = page.Find("Caffè");
  ASSERT_NE(caffe, nullptr);
  EXPECT_NEAR(caffe->left, 100, 0.2);
}

TEST(PdfWriter, KernedTextKeepsTheWidthQtGivesIt) {
  const TempDir dir;
  const QFont font = Font("Arial", 24);
  const QString kerned = QStringLiteral("AVAVAVAVTyTo");
  double expectedMm = 0;
  const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument& document) {
    painter.setPen(Qt::black);
    TextAt(painter, font, 20, 40, kerned);
    expectedMm = QFontMetricsF(font, &document).horizontalAdvance(kerned) / kDotsPerMm;
  });
  const PdfProbe probe = Probe(pdf);
  const PdfWord* word = probe.pages.at(0).Find(kerned.toStdString());
  ASSERT_NE(word, nullptr);
  // Kerning takes several millimetres off this word at 24 points.
  EXPECT_NEAR(word->right - word->left, expectedMm, 0.1);
}

// Text handed straight to the engine by a view that lays out its own lines
// takes the width Qt gives it, or is declined where QPainter has to draw it.
TEST(PdfWriter, TextStraightFromAViewIsMeasuredAsByQt) {
  const struct {
    QFont font;
    const char* text;
    bool straight;
  } rows[] = {
      {Font("Arial", 24), "AVAVAVAVTyTo", true},
      {Font("Arial", 9, true), "Totale imponibile", true},
      {Font("Times New Roman", 11, false, true), "Caff\u00e8 Societ\u00e0 \u20ac 12,50", true},
      {Font("Courier New", 10), "   17.964,92", true},
      {Font("Arial", 9), "", true},
      {Font("Arial", 9), "a\tb", false},
      {Font("Arial", 9), "soft\u00adhyphen", false},
      {Font("Arial", 9), "\u4e2d", false},
  };
  QFont underlined = Font("Arial", 9);
  underlined.setUnderline(true);
  const TempDir dir;
  Written(dir, [&](QPainter&, PdfDocument& document) {
    auto& engine = *static_cast<PdfPaintEngine*>(document.paintEngine());
    for (const auto& row : rows) {
      const QString text = QString::fromUtf8(row.text);
      const std::optional<double> advance = engine.TextAdvance(row.font, text);
      ASSERT_EQ(advance.has_value(), row.straight) << row.text;
      if (!advance) continue;
      // Qt lays text out at a whole number of pixels a size, the page at
      // the size itself.
      const double qt = QFontMetricsF(row.font, &document).horizontalAdvance(text);
      const double pixels = row.font.pointSizeF() * PdfDocument::kResolution / 72;
      EXPECT_NEAR(*advance, qt, qt * 0.5 / pixels + 0.5) << row.text;
    }
    EXPECT_FALSE(engine.TextAdvance(underlined, QStringLiteral("Firma")).has_value());
  });
}

// The same texts drawn through QPainter and straight from a view give the
// same page, and the engine waits for a clip QPainter has not handed over.
TEST(PdfWriter, TextDrawnStraightLooksAsThroughQPainter) {
  const QFont fonts[] = {Font("Arial", 12), Font("Arial", 9, true),
                         Font("Times New Roman", 11, false, true), Font("Courier New", 10)};
  const QString text = QString::fromUtf8("Fattura 2024/17 Caff\u00e8 (\u20ac 1.234,50) AVTy");
  const auto page = [&](bool straight) {
    const TempDir dir;
    const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument& document) {
      auto& engine = *static_cast<PdfPaintEngine*>(document.paintEngine());
      painter.setPen(QColor(0, 80, 160));
      for (std::size_t i = 0; i < std::size(fonts); ++i) {
        const double y = 20 + 15.0 * static_cast<double>(i);
        if (!straight) {
          TextAt(painter, fonts[i], 20, y, text);
          continue;
        }
        const QFontMetricsF metrics(fonts[i], painter.device());
        const QPointF baseline(20 * kDotsPerMm, y * kDotsPerMm + metrics.ascent());
        EXPECT_TRUE(engine.DrawText(baseline, fonts[i], QColor(0, 80, 160), text));
      }
      painter.setOpacity(0.5);
      EXPECT_FALSE(engine.DrawText(QPointF(100, 100), fonts[0], Qt::black, text))
          << "the opacity has not reached the engine yet";
      painter.setOpacity(1);
    });
    return std::pair(Probe(pdf).pages.at(0).Text(), RenderedPage(pdf, 1, 150));
  };
  const auto [straightText, straight] = page(true);
  const auto [paintedText, painted] = page(false);
  EXPECT_EQ(straightText, paintedText);
  ASSERT_FALSE(straight.isNull());
  EXPECT_TRUE(straight == painted) << "the same content, to the pixel";
}

TEST(PdfWriter, FontsAreEmbeddedOncePerFaceAsSubsets) {
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument& document) {
    painter.setPen(Qt::black);
    TextAt(painter, Font("Arial", 9), 20, 20, QStringLiteral("small"));
    TextAt(painter, Font("Arial", 14), 20, 30, QStringLiteral("large"));
    TextAt(painter, Font("Arial", 9, true), 20, 40, QStringLiteral("bold"));
    document.StartPage(kPortrait);
    TextAt(painter, Font("Times New Roman", 11, false, true), 20, 20, QStringLiteral("italic"));
  });
  const std::string list = Output("pdffonts", {QString::fromStdString(pdf)});
  static const std::regex kRow(R"(([A-Z]{6})\+(\S+)\s+CID TrueType\s+Custom\s+yes yes yes)");
  std::vector<std::string> faces;
  std::istringstream lines(list);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, kRow)) faces.push_back(match[2]);
  }
  EXPECT_EQ(faces.size(), 3U) << list;
  EXPECT_EQ(Probe(pdf).Texts(), (std::vector<std::string>{"small large bold", "italic"}));
}

TEST(PdfWriter, MoreThan256GlyphsOfAFaceStayText) {
  // Every code of the first code page is used, the string delimiters and
  // the line end among them, and more glyphs than one page holds.
  std::vector<QString> lines;
  QString line;
  for (char16_t c = 0x21; c <= 0x17F; ++c) {
    if (c >= 0x7F && c < 0xA1) continue;
    line += QChar(c);
    if (line.size() == 40) lines.push_back(std::exchange(line, QString()));
  }
  lines.push_back(line);
  const TempDir dir;
  const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument&) {
    painter.setPen(Qt::black);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      TextAt(painter, Font("Arial", 10), 20, 20 + 10.0 * static_cast<double>(i), lines[i]);
    }
  });
  const PdfPage page = Probe(pdf).pages.at(0);
  QString all;
  for (const QString& text : lines) all += text;
  QString read = QString::fromStdString(page.Text());
  read.remove(QLatin1Char(' '));
  EXPECT_EQ(read, all);
}

TEST(PdfWriter, APictureDrawnOnEveryPageIsStoredOnce) {
  const TempDir dir;
  QImage logo(60, 30, QImage::Format_RGB32);
  logo.fill(Qt::darkCyan);
  QImage badge(20, 20, QImage::Format_ARGB32);
  badge.fill(QColor(255, 0, 0, 128));
  const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument& document) {
    for (int page = 0; page < 3; ++page) {
      if (page > 0) document.StartPage(kPortrait);
      painter.drawImage(QRectF(10, 10, 60 * 25.4 / 96, 30 * 25.4 / 96), logo);
    }
    painter.drawImage(QRectF(50, 50, 10, 10), badge);
  });
  const PdfProbe probe = Probe(pdf);
  ASSERT_EQ(probe.pages.size(), 3U);
  std::set<int> logoObjects;
  int badges = 0;
  for (const PdfImage& image : probe.images) {
    if (image.width == 60) {
      logoObjects.insert(image.object);
      EXPECT_EQ(image.xPpi, 96);
      EXPECT_EQ(image.encoding, "image");
    }
    if (image.width == 20) ++badges;
  }
  EXPECT_EQ(logoObjects.size(), 1U);
  EXPECT_EQ(badges, 2) << "the picture and its transparency mask";
}

// Pictures are stored row by row as they come; what a reader takes out of
// the file is the picture pixel for pixel, its transparency as a mask.
TEST(PdfWriter, PicturesComeBackPixelForPixel) {
  const auto noise = [](QImage image) {
    std::uint32_t seed = 7;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        seed = seed * 1103515245U + 12345U;
        image.setPixel(x, y,
                       image.format() == QImage::Format_Indexed8 ? seed >> 30 : seed | 0x3F000000U);
      }
    }
    return image;
  };
  QImage indexed(70, 65, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)});
  QImage gray(33, 130, QImage::Format_Grayscale8);
  for (int y = 0; y < gray.height(); ++y) std::memset(gray.scanLine(y), y * 2, gray.bytesPerLine());
  const struct {
    const char* name;
    QImage image;
  } cases[] = {
      {"colours over several strips, odd width", noise(QImage(131, 150, QImage::Format_RGB32))},
      {"transparency", noise(QImage(17, 70, QImage::Format_ARGB32))},
      {"a colour table", noise(indexed)},
      {"gray", gray},
      {"one column", noise(QImage(1, 65, QImage::Format_RGB32))},
  };
  for (const auto& c : cases) {
    const TempDir dir;
    const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument&) {
      painter.drawImage(QRectF(10, 10, 40, 40), c.image);
    });
    const QString prefix = QString::fromStdString(dir.path() + "/img");
    Output("pdfimages", {"-png", QString::fromStdString(pdf), prefix});
    const QImage colours = QImage(prefix + "-000.png").convertToFormat(QImage::Format_RGB32);
    const QImage source = c.image.convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(colours.size(), source.size()) << c.name;
    const bool masked = c.image.hasAlphaChannel();
    const QImage mask = QImage(prefix + "-001.png");
    ASSERT_EQ(mask.isNull(), !masked) << c.name;
    int wrong = 0;
    for (int y = 0; y < source.height(); ++y) {
      for (int x = 0; x < source.width(); ++x) {
        const QRgb want = source.pixel(x, y);
        if ((colours.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF)) ++wrong;
        if (masked && qGray(mask.pixel(x, y)) != qAlpha(want)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << c.name;
  }
}

TEST(PdfWriter, WhatThePainterDidShowsOnThePage) {
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument&) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::blue);
    painter.drawRect(QRectF(10, 10, 30, 20));
    // Half-transparent red over white is pink.
    painter.setBrush(QColor(255, 0, 0, 128));
    painter.drawRect(QRectF(50, 10, 30, 20));
    // Clipped to the left half of the box, then the clip is dropped.
    painter.setClipRect(QRectF(90, 10, 15, 20));
    painter.setBrush(Qt::green);
    painter.drawRect(QRectF(90, 10, 30, 20));
    painter.setClipping(false);
    painter.fillRect(QRectF(130, 10, 30, 20), Qt::darkYellow);
    // A hatched fill has lines and gaps.
    painter.setBrush(QBrush(Qt::black, Qt::HorPattern));
    painter.drawRect(QRectF(10, 50, 40, 40));
    // A thick outline in the painter's units, and a thin one.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::red, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(70, 50, 40, 40));
    QPen thin(Qt::black, 0);
    thin.setCosmetic(true);
    painter.setPen(thin);
    painter.drawEllipse(QRectF(130, 50, 40, 40));
  });
  const QImage page = RenderedPage(pdf);
  EXPECT_TRUE(Near(At(page, 25, 20), qRgb(0, 0, 255)));
  EXPECT_TRUE(Near(At(page, 65, 20), qRgb(255, 127, 127)));
  EXPECT_TRUE(Near(At(page, 95, 20), qRgb(0, 255, 0)));
  EXPECT_TRUE(Near(At(page, 115, 20), qRgb(255, 255, 255))) << "clipped away";
  EXPECT_TRUE(Near(At(page, 145, 20), qRgb(128, 128, 0))) << "after the clip was dropped";
  int ink = 0;
  int paper = 0;
  for (double y = 52; y < 88; y += 0.35) {
    const int gray = qGray(At(page, 30, y));
    if (gray < 230) ++ink;
    if (gray > 250) ++paper;
  }
  EXPECT_GT(ink, 5);
  EXPECT_GT(paper, 5);
  EXPECT_TRUE(Near(At(page, 70, 70), qRgb(255, 0, 0))) << "2 mm wide line on the left edge";
  EXPECT_TRUE(Near(At(page, 90, 70), qRgb(255, 255, 255)));
  int darkest = 255;
  for (double x = 129.5; x < 130.6; x += 0.3) darkest = std::min(darkest, qGray(At(page, x, 70)));
  EXPECT_LT(darkest, 200) << "the thinnest line still shows";
}

TEST(PdfWriter, AClipAndAnOpacityLastAcrossPagesOfOtherSizes) {
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument& document) {
    painter.setClipRect(QRectF(10, 10, 20, 20));
    painter.setOpacity(0.5);
    document.StartPage(kLandscape);
    painter.fillRect(QRectF(0, 0, 100, 100), Qt::black);
    // A hatched fill is drawn as a picture: the opacity applies once.
    painter.setClipping(false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::black, Qt::Dense1Pattern));
    painter.drawRect(QRectF(150, 10, 40, 40));
  });
  const QImage page = RenderedPage(pdf, 2);
  ASSERT_EQ(page.width(), 842);
  EXPECT_TRUE(Near(At(page, 20, 20), qRgb(128, 128, 128))) << "inside the clip, half black";
  EXPECT_TRUE(Near(At(page, 50, 20), qRgb(255, 255, 255))) << "outside the clip";
  int darkest = 255;
  for (double x = 155; x < 185; x += 0.35) darkest = std::min(darkest, qGray(At(page, x, 30)));
  EXPECT_NEAR(darkest, 128, 24);
}

TEST(PdfWriter, MetafilesStayVectorsAndText) {
  // A red 40 by 20 mm picture with a blue box from (10, 5) to (30, 15) mm
  // and transparent capitals 10 mm high at (5, 12) mm, as a Windows
  // metafile, and the blue box alone as an enhanced metafile.
  const auto wmf = DecodePicture(WmfBuilder({0, 0, 400, 200}, 254)
                                     .NullPen()
                                     .Select(0)
                                     .SolidBrush(0x0000FF)
                                     .Select(1)
                                     .Rectangle({0, 0, 400, 200})
                                     .SolidBrush(0xFF0000)
                                     .Select(2)
                                     .Rectangle({100, 50, 200, 100})
                                     .Font(100, "Arial")
                                     .Select(3)
                                     .TransparentText()
                                     .TextOut(50, 120, "HH")
                                     .Bytes());
  EmfBuilder emf({100, 50, 200, 100}, {0, 0, 4000, 2000}, {1000, 1000}, {100, 100});
  const auto emfPicture = DecodePicture(
      emf.NullPen().SolidBrush(2, 0xFF0000).Select(2).Rectangle({100, 50, 200, 100}).Bytes());
  ASSERT_NE(wmf, nullptr);
  ASSERT_NE(emfPicture, nullptr);
  const TempDir dir;
  const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument&) {
    painter.resetTransform();
    PainterPageView view(painter, ViewScale::Millimetres(PdfDocument::kResolution));
    view.DrawPicture(*wmf, 20, 30, std::nullopt);
    view.DrawPicture(*emfPicture, 20, 100, std::nullopt);
  });
  const QImage page = RenderedPage(pdf);
  EXPECT_TRUE(Near(At(page, 22, 32), qRgb(255, 0, 0)));
  EXPECT_TRUE(Near(At(page, 40, 40), qRgb(0, 0, 255)));
  EXPECT_TRUE(Near(At(page, 40, 110), qRgb(0, 0, 255)));
  EXPECT_TRUE(Near(At(page, 22, 102), qRgb(255, 255, 255)));
  // Between the two letters the red shows: the text has no background.
  EXPECT_TRUE(Near(At(page, 25.5, 48.5), qRgb(255, 0, 0)));
  const PdfProbe probe = Probe(pdf);
  const PdfWord* text = probe.pages.at(0).Find("HH");
  ASSERT_NE(text, nullptr) << probe.pages.at(0).Text();
  EXPECT_NEAR(text->left, 25, 1.0);
  EXPECT_TRUE(probe.images.empty()) << "vectors, not pictures of them";
}

TEST(PdfWriter, LongTransparentLinesKeepWhatLiesOnThePage) {
  const struct {
    float points;
    int words;
  } rows[] = {{24, 20}, {10, 50}};
  for (const auto& row : rows) {
    std::string line;
    for (int i = 1; i <= row.words; ++i) line += "Word" + std::to_string(100 + i) + " ";
    const TempDir dir;
    const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument&) {
      painter.resetTransform();
      PainterPageView view(painter, ViewScale::Millimetres(PdfDocument::kResolution));
      view.SetFontSize(row.points);
      view.SetTransparent(true);
      view.MoveTo(20, 30);
      view.PrintText(line);
    });
    const PdfProbe probe = Probe(pdf);
    const PdfWord* first = probe.pages.at(0).Find("Word101");
    ASSERT_NE(first, nullptr) << row.points << " pt: " << probe.pages.at(0).Text();
    EXPECT_NEAR(first->left, 20, 1.0);
    EXPECT_NE(probe.pages.at(0).Find("Word103"), nullptr) << row.points << " pt";
  }
}

// A 400 by 200 pixel bitmap in `background` with a `logo` block in its
// middle, from (100, 50) to (300, 150): fine enough that smoothing blurs no
// more than a pixel of the pages compared.
QImage Logo(QRgb background, QRgb logo) {
  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(background);
  for (int y = 50; y < 150; ++y) {
    for (int x = 100; x < 300; ++x) image.setPixel(x, y, logo);
  }
  return image;
}

int Difference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

constexpr std::uint32_t kCopy = 0x00CC0020;
constexpr std::uint32_t kAnd = 0x008800C6;
constexpr std::uint32_t kOr = 0x00EE0086;
constexpr std::uint32_t kXor = 0x00660046;

// Every raster operation the metafile player carries out, drawn by the
// screen's view and by the PDF writer, over a green box where what lies
// below must show through: the two pages agree pixel for pixel, but for
// the antialiasing of edges.
TEST(PdfWriter, MetafileRasterOperationsLookAsOnScreen) {
  struct Blit {
    std::uint32_t rop;
    QImage bitmap;
  };
  const QRgb white = qRgb(255, 255, 255);
  const QRgb black = qRgb(0, 0, 0);
  const QImage mask = Logo(white, black);
  const QImage picture = Logo(black, qRgb(200, 30, 40));
  const struct {
    const char* name;
    std::vector<Blit> blits;
    std::uint32_t patternRop;  // a pattern fill of the middle with a blue brush, 0 for none
    bool boxBelow;
  } rows[] = {
      {"copy", {{kCopy, Logo(qRgb(250, 220, 0), qRgb(0, 0, 255))}}, 0, true},
      {"and, a mask", {{kAnd, mask}}, 0, true},
      {"and, colours", {{kAnd, Logo(qRgb(0, 255, 255), qRgb(255, 255, 0))}}, 0, false},
      {"or", {{kOr, picture}}, 0, false},
      {"xor", {{kXor, Logo(black, qRgb(255, 0, 255))}}, 0, false},
      {"mask then picture", {{kAnd, mask}, {kOr, picture}}, 0, true},
      {"xor, mask, xor", {{kXor, picture}, {kAnd, mask}, {kXor, picture}}, 0, true},
      {"mask, picture, a pattern copy", {{kAnd, mask}, {kOr, picture}}, 0x00F00021, true},
      {"blackness", {}, 0x00000042, true},
      {"whiteness", {}, 0x00FF0062, true},
  };
  constexpr int kDpi = 150;
  const ViewScale screenMm = ViewScale::Millimetres(kDpi);
  for (const auto& row : rows) {
    WmfBuilder builder({0, 0, 400, 200}, 254);
    for (const Blit& blit : row.blits) builder.StretchDib({0, 0, 400, 200}, blit.bitmap, blit.rop);
    if (row.patternRop != 0)
      builder.SolidBrush(0xFF0000).Select(0).PatBlt({150, 80, 100, 40}, row.patternRop);
    const auto wmf = DecodePicture(builder.Bytes());
    ASSERT_NE(wmf, nullptr) << row.name;
    const auto draw = [&](PageView& view) {
      if (row.boxBelow) view.DrawRect(10, 10, 30, 40, 0x00A000, true);
      view.DrawPicture(*wmf, 10, 10, std::nullopt);
    };
    PageImage screen({qRound(70 * kDpi / 25.4), qRound(50 * kDpi / 25.4)}, screenMm);
    screen.view().Clear();
    draw(screen.view());
    const TempDir dir;
    const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument&) {
      painter.resetTransform();
      PainterPageView view(painter, ViewScale::Millimetres(PdfDocument::kResolution));
      draw(view);
    });
    const QImage paper = RenderedPage(pdf, 1, kDpi, screen.image().size());
    ASSERT_FALSE(paper.isNull()) << row.name;
    // The picture and a millimetre around it.
    const QRect area = screenMm.Transform().mapRect(QRectF(9, 9, 42, 22)).toAlignedRect();
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (Difference(screen.image().pixel(x, y), paper.pixel(x, y)) > 48) ++differing;
      }
    }
    EXPECT_LT(differing, area.width() * area.height() / 25) << row.name;
    // Inside the logo, beside it over the box and over the paper, and in
    // the pattern fill.
    for (const QPointF mm :
         {QPointF(30, 20), QPointF(13, 12), QPointF(47, 12), QPointF(28, 20), QPointF(16, 28)}) {
      const QPoint at = screenMm.Transform().map(mm).toPoint();
      EXPECT_LE(Difference(screen.image().pixel(at), paper.pixel(at)), 16)
          << row.name << " at " << mm.x() << ", " << mm.y() << " mm";
    }
  }
}

// A masked logo on every page is combined once: the pages draw the very
// same picture, which the file stores once.
TEST(PdfWriter, AMaskedMetafileLogoOnEveryPageIsStoredOnce) {
  const auto wmf = DecodePicture(
      WmfBuilder({0, 0, 400, 200}, 254)
          .StretchDib({0, 0, 400, 200}, Logo(qRgb(255, 255, 255), qRgb(0, 0, 0)), kAnd)
          .StretchDib({0, 0, 400, 200}, Logo(qRgb(0, 0, 0), qRgb(200, 30, 40)), kOr)
          .Bytes());
  ASSERT_NE(wmf, nullptr);
  const TempDir dir;
  const std::string pdf = Written(dir, [&](QPainter& painter, PdfDocument& document) {
    painter.resetTransform();
    PainterPageView view(painter, ViewScale::Millimetres(PdfDocument::kResolution));
    for (int page = 0; page < 3; ++page) {
      if (page > 0) document.StartPage(kPortrait);
      view.DrawPicture(*wmf, 10 + page, 10, std::nullopt);
    }
  });
  const PdfProbe probe = Probe(pdf);
  ASSERT_EQ(probe.pages.size(), 3U);
  std::set<int> objects;
  for (const PdfImage& image : probe.images) objects.insert(image.object);
  EXPECT_EQ(probe.images.size(), 6U) << "a picture and its mask on each page";
  EXPECT_EQ(objects.size(), 1U) << "poppler names a mask by its picture's object";
  const QImage third = RenderedPage(pdf, 3);
  EXPECT_TRUE(Near(At(third, 32, 20), qRgb(200, 30, 40)));
  EXPECT_TRUE(Near(At(third, 14, 12), qRgb(255, 255, 255)));
}

TEST(PdfWriter, EachPageHasItsOwnSize) {
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument& document) {
    painter.setPen(Qt::black);
    TextAt(painter, Font("Arial", 12), 20, 20, QStringLiteral("tall"));
    document.StartPage(kLandscape);
    TextAt(painter, Font("Arial", 12), 250, 20, QStringLiteral("wide"));
    document.StartPage(kPortrait);
  });
  const PdfProbe probe = Probe(pdf);
  ASSERT_EQ(probe.pages.size(), 3U);
  EXPECT_NEAR(probe.pages[0].widthMm, 210, 0.1);
  EXPECT_NEAR(probe.pages[1].widthMm, 297, 0.1);
  EXPECT_NEAR(probe.pages[1].heightMm, 210, 0.1);
  ASSERT_NE(probe.pages[1].Find("wide"), nullptr);
  EXPECT_NEAR(probe.pages[1].Find("wide")->left, 250, 0.2);
  EXPECT_TRUE(probe.pages[2].words.empty());
}

// A long job of invoice pages: the form drawn first on every page is
// stored once, and every page reads back with its own text after it.
TEST(PdfWriter, ALongJobStoresItsFormOnceAndReadsBack) {
  constexpr int kPages = 250;
  const TempDir dir;
  const std::string pdf = Written(dir, [](QPainter& painter, PdfDocument& document) {
    for (int page = 1; page <= kPages; ++page) {
      if (page > 1) document.StartPage(kPortrait);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0x33, 0x66, 0x99));
      for (int rule = 0; rule < 10; ++rule) painter.drawRect(QRectF(10, 20 + 10 * rule, 190, 0.3));
      painter.setPen(Qt::black);
      TextAt(painter, Font("Arial", 9, true), 12, 15, QStringLiteral("Codice Descrizione Importo"));
      TextAt(painter, Font("Arial", 7), 10, 279, QStringLiteral("Acme Forniture - Milano"));
      TextAt(painter, Font("Courier New", 10), 150, 250, QString::number(page * 37));
    }
  });
  const PdfProbe probe = Probe(pdf);
  ASSERT_EQ(probe.pages.size(), static_cast<std::size_t>(kPages));
  for (const int page : {1, 2, kPages}) {
    EXPECT_EQ(
        probe.pages[page - 1].Text(),
        "Codice Descrizione Importo " + std::to_string(page * 37) + " Acme Forniture - Milano")
        << page;
  }
  // qpdf lists each page's content streams, one a line under "content:".
  const std::string list = Output("qpdf", {"--show-pages", QString::fromStdString(pdf)});
  std::map<std::string, int> pagesOf;
  std::istringstream lines(list);
  bool first = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("content:") != std::string::npos) {
      first = true;
    } else if (first) {
      ++pagesOf[line];
      first = false;
    }
  }
  int most = 0;
  for (const auto& [object, pages] : pagesOf) most = std::max(most, pages);
  EXPECT_EQ(most, kPages - 1) << "every page after the first begins with the same stream\n"
                              << list.substr(0, 400);
}

TEST(PdfWriter, AFileThatCannotBeWrittenFails) {
  const TempDir dir;
  const OwnedFd file(Created(dir.path() + "/missing/out.pdf"));
  PdfDocument document(file.fd(), QStringLiteral("Test"));
  EXPECT_FALSE(document.ok());
  document.StartPage(kPortrait);
  QPainter painter;
  EXPECT_FALSE(painter.begin(&document));
  EXPECT_FALSE(document.Finish());
}

}  // namespace
}  // namespace lvx::testing
