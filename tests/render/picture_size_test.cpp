// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "gif_writer.h"
#include "metafile_builder.h"
#include "page_fixture.h"
#include "picture_file.h"
#include "probes.h"
#include "temp_dir.h"

namespace lvx {
namespace {

using testing::ExpectEdges;
using testing::InkBounds;
using testing::IsBlue;
using testing::IsRed;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;

QByteArray Encoded(const QImage& image, const char* format) {
  if (QByteArrayView(format) == "GIF") return testing::GifOf(image);
  // A cursor file is an icon file of type 2.
  const bool cursor = QByteArrayView(format) == "CUR";
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, cursor ? "ICO" : format);
  if (cursor && bytes.size() > 2) bytes[2] = 2;
  return bytes;
}

QImage Filled(QSize size, Qt::GlobalColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// Millimetres on the 96-dpi image to its pixels.
QRectF Pixels(double x1, double y1, double x2, double y2) {
  const double k = 96 / 25.4;
  return QRectF(QPointF(x1 * k, y1 * k), QPointF(x2 * k, y2 * k));
}

TEST(PictureSize, PixelPicturesMeasureTheirPixelsAt96Dpi) {
  const QImage red = Filled({400, 200}, Qt::red);
  const struct {
    const char* format;
    QImage image;
  } rows[] = {
      {"BMP", red}, {"PNG", red}, {"JPEG", red}, {"GIF", red}, {"ICO", Filled({64, 32}, Qt::red)},
  };
  for (const auto& row : rows) {
    const auto picture = DecodePicture(Encoded(row.image, row.format));
    ASSERT_NE(picture, nullptr) << row.format;
    EXPECT_NEAR(picture->WidthHmm(), row.image.width() * 2540.0 / 96, 0.01) << row.format;
    EXPECT_NEAR(picture->HeightHmm(), row.image.height() * 2540.0 / 96, 0.01) << row.format;
  }
}

TEST(PictureSize, A400By200BitmapMeasures105Point8By52Point9Mm) {
  testing::TempDir dir;
  ASSERT_TRUE(Filled({400, 200}, Qt::red).save(QString::fromStdString(dir.path() + "/logo.bmp")));
  testing::PageFixture page(dir.path());
  page.Run("*IMAGE /X:20 /Y:150 /N:logo.bmp");
  // Its own size in the lower view, which shows the page from 140 mm.
  const ViewScale zoom = page.lower.view().scale();
  ExpectEdges(InkBounds(page.lower.image()),
              QRectF(QPointF(20 * zoom.x, 10 * zoom.y),
                     QPointF((20 + 105.833) * zoom.x, (10 + 52.917) * zoom.y)));
  // Half of it in the main view, at (10, 75).
  ExpectEdges(InkBounds(page.main.image()), Pixels(10, 75, 10 + 52.917, 75 + 26.458));
  EXPECT_TRUE(InkBounds(page.upper.image()).isEmpty());

  // Drawn without a size on a plain millimetre view: 400 by 200 pixels.
  PageImage plain({600, 400}, ViewScale::Millimetres(kScreenDpi));
  const auto picture = page.pictures.Load(dir.path() + "/logo.bmp");
  plain.view().DrawPicture(*picture, 10, 10, std::nullopt);
  const QRect ink = InkBounds(plain.image());
  EXPECT_NEAR(ink.width(), 400, 1);
  EXPECT_NEAR(ink.height(), 200, 1);
  EXPECT_NEAR(ink.width() * 25.4 / 96, 105.8, 0.3);
  EXPECT_NEAR(ink.height() * 25.4 / 96, 52.9, 0.3);
}

TEST(PictureSize, TheContentDecidesNotTheName) {
  struct Row {
    const char* name;
    const char* format;
  };
  // Each format is known by its first bytes.
  for (const Row& row : {Row{"photo.bmp", "PNG"}, Row{"photo.png", "BMP"}, Row{"logo.gif", "JPEG"},
                         Row{"logo.jpg", "GIF"}, Row{"icon.png", "ICO"}, Row{"pic.gif", "CUR"}}) {
    testing::TempDir dir;
    const std::string path =
        dir.Write(row.name, Encoded(Filled({40, 20}, Qt::red), row.format).toStdString());
    PictureCache pictures;
    const auto picture = pictures.Load(path);
    ASSERT_NE(picture, nullptr) << row.format << " as " << row.name;
    EXPECT_NEAR(picture->WidthHmm(), 40 * 2540.0 / 96, 0.01) << row.format;
  }
}

// An uncompressed true-colour Targa file, which Qt reads but does not
// write.
QByteArray Targa(const QImage& image) {
  QByteArray bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = static_cast<char>(image.width() & 0xFF);
  bytes[13] = static_cast<char>(image.width() >> 8);
  bytes[14] = static_cast<char>(image.height() & 0xFF);
  bytes[15] = static_cast<char>(image.height() >> 8);
  bytes[16] = 24;
  for (int y = image.height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      bytes += static_cast<char>(qBlue(pixel));
      bytes += static_cast<char>(qGreen(pixel));
      bytes += static_cast<char>(qRed(pixel));
    }
  }
  // The footer of version 2 files, which Qt's reader asks for.
  bytes += QByteArray(8, '\0');
  bytes += QByteArray("TRUEVISION-XFILE.", 17);
  bytes += '\0';
  return bytes;
}

// Pictures are Windows bitmaps, icons and cursors, GIF, JPEG, PNG and the
// two metafiles: whatever else Qt's image plugins could read draws nothing,
// under any name.
TEST(PictureSize, OtherFormatsAreNoPicture) {
  const QImage red = Filled({40, 20}, Qt::red);
  const QByteArray svg =
      "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='20'>"
      "<rect width='40' height='20' fill='red'/></svg>";
  const struct {
    const char* name;
    QByteArray bytes;
    const char* format;  // what Qt reads it as
  } rows[] = {
      {"scan.tif", Encoded(red, "TIFF"), "TIFF"}, {"pic.webp", Encoded(red, "WEBP"), "WEBP"},
      {"pic.ppm", Encoded(red, "PPM"), "PPM"},    {"icon.xpm", Encoded(red, "XPM"), "XPM"},
      {"mask.xbm", Encoded(red, "XBM"), "XBM"},   {"pic.tga", Targa(red), "TGA"},
      {"pic.wbmp", Encoded(red, "WBMP"), "WBMP"}, {"logo.svg", svg, "SVG"},
      {"logo.bmp", Encoded(red, "TIFF"), "TIFF"}, {"logo.png", svg, "SVG"},
  };
  for (const auto& row : rows) {
    // Qt itself would read each of them.
    ASSERT_FALSE(QImage::fromData(row.bytes, row.format).isNull()) << row.name;
    EXPECT_EQ(DecodePicture(row.bytes), nullptr) << row.name;
    testing::TempDir dir;
    dir.Write(row.name, row.bytes.toStdString());
    testing::PageFixture page(dir.path());
    page.Run(std::string("*IMAGE /X:20 /Y:20 /N:") + row.name);
    EXPECT_TRUE(InkBounds(page.main.image()).isEmpty()) << row.name;
    EXPECT_TRUE(InkBounds(page.upper.image()).isEmpty()) << row.name;
  }
}

TEST(PictureSize, APictureDrawnAgainAndAgainKeepsEachSize) {
  // A window keeps a picture scaled for the sizes it was drawn at: each
  // drawing still takes its own size and place, in any order.
  const auto picture = DecodePicture(Encoded(Filled({40, 20}, Qt::red), "BMP"));
  ASSERT_NE(picture, nullptr);
  const double widthMm = 40 * 25.4 / 96;
  const double heightMm = 20 * 25.4 / 96;
  for (int round = 0; round < 2; ++round) {
    for (const double scale : {1.0, 0.5, 2.0, 0.5}) {
      PageImage page({300, 200}, ViewScale::Millimetres(kScreenDpi));
      page.view().DrawPicture(*picture, 10, 5,
                              PageView::Size{static_cast<float>(widthMm * scale),
                                             static_cast<float>(heightMm * scale)});
      ExpectEdges(InkBounds(page.image(), page.image().rect(), IsRed),
                  Pixels(10, 5, 10 + widthMm * scale, 5 + heightMm * scale));
    }
  }
}

TEST(PictureSize, FirstBytesOfAFormatAloneMakeNoPicture) {
  for (const QByteArray& bytes :
       {QByteArray("BM not a bitmap at all, just text"), QByteArray("\x89PNG\r\n\x1a\n cut short"),
        QByteArray("GIF89a"), QByteArray("\xFF\xD8\xFF\xE0 junk")}) {
    EXPECT_EQ(DecodePicture(bytes), nullptr) << bytes.toStdString();
  }
}

// A red 40 by 20 mm picture with a blue box from (10, 5) to (30, 15) mm.
QByteArray SampleWmf() {
  // 254 units per inch: a unit is a tenth of a millimetre.
  return testing::WmfBuilder({0, 0, 400, 200}, 254)
      .NullPen()
      .Select(0)
      .SolidBrush(kRed)
      .Select(1)
      .Rectangle({0, 0, 400, 200})
      .SolidBrush(kBlue)
      .Select(2)
      .Rectangle({100, 50, 200, 100})
      .Bytes();
}

// The same picture as an enhanced metafile on a device of 10 pixels per
// millimetre; `inkedOnly` records only the blue box's bounds.
QByteArray SampleEmf(bool withRedBackground) {
  const QRect bounds = withRedBackground ? QRect(0, 0, 400, 200) : QRect(100, 50, 200, 100);
  testing::EmfBuilder emf(bounds, QRect(0, 0, 4000, 2000), {1000, 1000}, {100, 100});
  emf.NullPen();
  if (withRedBackground) emf.SolidBrush(1, kRed).Select(1).Rectangle({0, 0, 400, 200});
  return emf.SolidBrush(2, kBlue).Select(2).Rectangle({100, 50, 200, 100}).Bytes();
}

void ExpectSamplePicture(const QByteArray& bytes, bool withRedBackground) {
  const auto picture = DecodePicture(bytes);
  ASSERT_NE(picture, nullptr);
  EXPECT_NEAR(picture->WidthHmm(), 4000, 1.5);
  EXPECT_NEAR(picture->HeightHmm(), 2000, 1.5);
  PageImage page({300, 200}, ViewScale::Millimetres(kScreenDpi));
  page.view().DrawPicture(*picture, 10, 10, std::nullopt);
  if (withRedBackground) {
    ExpectEdges(InkBounds(page.image(), page.image().rect(), IsRed), Pixels(10, 10, 50, 30));
  }
  ExpectEdges(InkBounds(page.image(), page.image().rect(), IsBlue), Pixels(20, 15, 40, 25));
}

TEST(PictureSize, WindowsMetafileDrawsAtItsRecordedSize) {
  ExpectSamplePicture(SampleWmf(), true);
}

TEST(PictureSize, WindowsMetafileWithItsOwnWindowFillsTheFrame) {
  // The records draw in a space of 4000 by 2000 units: still the frame.
  const QByteArray wmf = testing::WmfBuilder({0, 0, 400, 200}, 254)
                             .WindowOrg(0, 0)
                             .WindowExt(4000, 2000)
                             .NullPen()
                             .Select(0)
                             .SolidBrush(kBlue)
                             .Select(1)
                             .Rectangle({1000, 500, 2000, 1000})
                             .Bytes();
  ExpectSamplePicture(wmf, false);
}

TEST(PictureSize, WindowsMetafileTextGrowsWithThePicture) {
  // Capitals 10 mm high (100 units) with their top at (5, 5) mm.
  const QByteArray wmf = testing::WmfBuilder({0, 0, 400, 200}, 254)
                             .Font(100, "Arial")
                             .Select(0)
                             .TransparentText()
                             .TextOut(50, 50, "HH")
                             .Bytes();
  const auto picture = DecodePicture(wmf);
  ASSERT_NE(picture, nullptr);
  QRect ink[2];
  for (const int scale : {1, 2}) {
    PageImage page({500, 300}, ViewScale::Millimetres(kScreenDpi));
    page.view().DrawPicture(*picture, 0, 0, PageView::Size{40.0F * scale, 20.0F * scale});
    ink[scale - 1] = InkBounds(page.image());
  }
  // A capital H of Liberation Sans is 0.729 em high.
  EXPECT_NEAR(ink[0].height(), 0.729 * 10 * 96 / 25.4, 2.0);
  // The H starts a little right of the point: its side bearing.
  EXPECT_GE(ink[0].left(), 5 * 96 / 25.4 - 1);
  EXPECT_LE(ink[0].left(), (5 + 0.15 * 10) * 96 / 25.4);
  EXPECT_NEAR(ink[0].top(), (5 + (0.905 - 0.729) * 10) * 96 / 25.4, 2.0);
  EXPECT_NEAR(ink[1].height(), 2 * ink[0].height(), 2.0);
  EXPECT_NEAR(ink[1].width(), 2 * ink[0].width(), 3.0);
}

TEST(PictureSize, EnhancedMetafileDrawsAtItsRecordedSize) {
  ExpectSamplePicture(SampleEmf(true), true);
}

TEST(PictureSize, EnhancedMetafileKeepsItsFrameBeyondTheInk) {
  // Only the blue box is inked; the frame still places it.
  ExpectSamplePicture(SampleEmf(false), false);
}

TEST(PictureSize, MetafilesStretchToTheSizeGiven) {
  for (const QByteArray& bytes : {SampleWmf(), SampleEmf(true)}) {
    const auto picture = DecodePicture(bytes);
    ASSERT_NE(picture, nullptr);
    PageImage page({300, 200}, ViewScale::Millimetres(kScreenDpi));
    page.view().DrawPicture(*picture, 10, 10, PageView::Size{20, 10});
    ExpectEdges(InkBounds(page.image(), page.image().rect(), IsRed), Pixels(10, 10, 30, 20));
    ExpectEdges(InkBounds(page.image(), page.image().rect(), IsBlue), Pixels(15, 12.5, 25, 17.5));
  }
}

}  // namespace
}  // namespace lvx
