// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that are cut short, corrupt or claim absurd sizes draw nothing
// and never bring the program down.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>
#include <random>

#include "gif_writer.h"
#include "metafile_builder.h"
#include "page_fixture.h"
#include "picture_file.h"
#include "probes.h"
#include "temp_dir.h"

namespace lvx {
namespace {

QByteArray Encoded(const QImage& image, const char* format) {
  if (QByteArrayView(format) == "GIF") return testing::GifOf(image);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// A picture with detail, so that compressed formats have a long body.
QImage Detailed(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
  }
  return image;
}

QByteArray Half(const QByteArray& bytes) {
  return bytes.left(bytes.size() / 2);
}

void Put32(QByteArray& bytes, qsizetype at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t Crc32(QByteArrayView bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (const char c : bytes) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

// A bitmap whose header claims 100000 by 100000 pixels.
QByteArray HugeBitmap() {
  QByteArray bytes = Encoded(Detailed({4, 4}), "BMP");
  Put32(bytes, 18, 100000);
  Put32(bytes, 22, 100000);
  return bytes;
}

// A PNG whose (well-formed) header claims 60000 by 60000 pixels.
QByteArray HugePng() {
  QByteArray bytes = Encoded(Detailed({4, 4}), "PNG");
  const auto bigEndian = [&](qsizetype at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
  };
  bigEndian(16, 60000);
  bigEndian(20, 60000);
  bigEndian(29, Crc32(QByteArrayView(bytes).sliced(12, 17)));
  return bytes;
}

QByteArray SampleWmf() {
  return testing::WmfBuilder({0, 0, 400, 200}, 254)
      .SolidBrush(0x0000FF)
      .Select(0)
      .Rectangle({0, 0, 400, 200})
      .Bytes();
}

// A metafile with text, a polygon and a bitmap, for damaging.
QByteArray RichWmf() {
  return testing::WmfBuilder({0, 0, 400, 200}, 254)
      .SolidBrush(0x00FF00)
      .Select(0)
      .Record(0x0324, {3, 10, 10, 390, 10, 200, 190})
      .Font(40, "Times New Roman")
      .Select(1)
      .TextOut(20, 20, "Damaged text")
      .StretchDib({100, 50, 200, 100}, Detailed({8, 8}))
      .Bytes();
}

QByteArray SampleEmf() {
  return testing::EmfBuilder({0, 0, 400, 200}, {0, 0, 4000, 2000}, {1000, 1000}, {100, 100})
      .SolidBrush(1, 0x0000FF)
      .Select(1)
      .Rectangle({0, 0, 400, 200})
      .Bytes();
}

// The table of bad files: each must give no picture.
struct BadFile {
  const char* name;
  QByteArray bytes;
};

std::vector<BadFile> BadFiles() {
  QByteArray noInch = SampleWmf();
  noInch[14] = noInch[15] = 0;
  QByteArray emfRunsOver = SampleEmf();
  Put32(emfRunsOver, 88 + 4, 4000);  // the first record's size
  QByteArray iconBeyondItsFile = Encoded(Detailed({32, 32}), "ICO");
  Put32(iconBeyondItsFile, 6 + 12, 1 << 20);
  return {
      {"bitmap-cut-in-half.bmp", Half(Encoded(Detailed({400, 200}), "BMP"))},
      {"random-bytes.jpg",
       [] {
         std::mt19937 random(17);
         QByteArray bytes;
         for (int i = 0; i < 5000; ++i) bytes.append(static_cast<char>(random() & 0xFF));
         return bytes;
       }()},
      {"text.png", "this is not a picture"},
      {"huge-bitmap.bmp", HugeBitmap()},
      {"huge.png", HugePng()},
      {"jpeg-cut-in-half.jpg", Half(Encoded(Detailed({200, 200}), "JPEG"))},
      {"png-cut-in-half.png", Half(Encoded(Detailed({200, 200}), "PNG"))},
      {"gif-cut-in-half.gif", Half(Encoded(Detailed({200, 200}), "GIF"))},
      {"icon-beyond-its-file.ico", iconBeyondItsFile},
      {"wmf-cut-short.wmf", SampleWmf().chopped(8)},
      {"wmf-header-only.wmf", SampleWmf().left(22)},
      {"wmf-no-units-per-inch.wmf", noInch},
      {"wmf-without-placeable-header.wmf", SampleWmf().mid(22)},
      {"emf-cut-short.emf", SampleEmf().chopped(12)},
      {"emf-record-runs-over.emf", emfRunsOver},
      {"emf-header-only.emf", SampleEmf().left(88)},
  };
}

TEST(CorruptPicture, LoaderGivesNothing) {
  testing::TempDir dir;
  PictureCache pictures;
  for (const BadFile& bad : BadFiles()) {
    const std::string path = dir.Write(bad.name, bad.bytes.toStdString());
    EXPECT_EQ(pictures.Load(path), nullptr) << bad.name;
  }
  EXPECT_EQ(pictures.Load(dir.Write("empty.bmp", "")), nullptr);
  std::filesystem::create_directory(dir.path() + "/folder.bmp");
  EXPECT_EQ(pictures.Load(dir.path() + "/folder.bmp"), nullptr);
  EXPECT_EQ(pictures.Load(dir.path() + "/missing.bmp"), nullptr);
}

TEST(CorruptPicture, ImageRecordsDrawNothing) {
  testing::TempDir dir;
  testing::PageFixture page(dir.path());
  for (const BadFile& bad : BadFiles()) {
    dir.Write(bad.name, bad.bytes.toStdString());
    page.Run(std::string("*IMAGE /X:10 /Y:10 /N:") + bad.name);
  }
  dir.Write("zero.jpg", "");
  page.Run("*IMAGE /X:10 /Y:10 /N:zero.jpg");
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/zero.jpg"));
  for (PageImage* image : {&page.main, &page.upper, &page.lower}) {
    EXPECT_TRUE(testing::InkBounds(image->image()).isEmpty());
  }
}

// Damaged copies of good pictures: whatever loads has a sane size and can
// be drawn. Run under the sanitizers this also guards the readers' bounds.
TEST(CorruptPicture, DamagedCopiesNeverCrash) {
  const QByteArray good[] = {SampleWmf(),
                             RichWmf(),
                             SampleEmf(),
                             Encoded(Detailed({40, 20}), "BMP"),
                             Encoded(Detailed({40, 20}), "GIF"),
                             Encoded(Detailed({40, 20}), "JPEG")};
  std::mt19937 random(1234);
  QImage canvas(200, 200, QImage::Format_RGB32);
  int loaded = 0;
  for (const QByteArray& original : good) {
    for (int round = 0; round < 200; ++round) {
      QByteArray bytes = original;
      if (round % 3 == 0) bytes.truncate(1 + static_cast<qsizetype>(random() % (bytes.size() - 1)));
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < flips; ++i) {
        bytes[static_cast<qsizetype>(random() % bytes.size())] = static_cast<char>(random() & 0xFF);
      }
      const auto picture = DecodePicture(bytes);
      if (!picture) continue;
      ++loaded;
      EXPECT_TRUE(std::isfinite(picture->WidthHmm()) && picture->WidthHmm() > 0);
      EXPECT_TRUE(std::isfinite(picture->HeightHmm()) && picture->HeightHmm() > 0);
      QPainter painter(&canvas);
      picture->Draw(painter, QRectF(10, 10, 100, 50));
    }
  }
  // Some damage is harmless (a changed colour): those still load.
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace lvx
