// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <filesystem>

#include "painter_page_view.h"
#include "pdf_check.h"
#include "picture_cache.h"
#include "raster_picture.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

std::string Bitmap(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "BMP");
  return bytes.toStdString();
}

const QImage& ImageOf(const std::shared_ptr<const Picture>& picture) {
  return dynamic_cast<const RasterPicture&>(*picture).image();
}

TEST(PictureCache, TheSameFileIsDecodedOnce) {
  testing::TempDir dir;
  const std::string path = dir.Write("logo.bmp", Bitmap({40, 20}));
  PictureCache pictures;
  const auto first = pictures.Load(path);
  const auto second = pictures.Load(path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(ImageOf(first).cacheKey(), ImageOf(second).cacheKey());
}

TEST(PictureCache, AChangedFileIsReadAgain) {
  testing::TempDir dir;
  const std::string path = dir.Write("logo.bmp", Bitmap({40, 20}));
  PictureCache pictures;
  const auto before = pictures.Load(path);
  // Same size in bytes, other content and time.
  dir.Write("logo.bmp", Bitmap({20, 40}));
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(5));
  const auto after = pictures.Load(path);
  ASSERT_NE(after, nullptr);
  EXPECT_NE(before, after);
  EXPECT_EQ(ImageOf(after).size(), QSize(20, 40));
  // A file that is gone, or now broken, gives nothing: no stale picture.
  dir.Write("logo.bmp", "broken");
  EXPECT_EQ(pictures.Load(path), nullptr);
  fs::remove(path);
  EXPECT_EQ(pictures.Load(path), nullptr);
}

TEST(PictureCache, APipeNamedLikeAPictureDoesNotHang) {
  testing::TempDir dir;
  const std::string path = dir.path() + "/logo.bmp";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  PictureCache pictures;
  EXPECT_EQ(pictures.Load(path), nullptr);
}

TEST(PictureCache, KeepsOnlyTheMostRecentPictures) {
  testing::TempDir dir;
  PictureCache pictures(2);
  const std::string a = dir.Write("a.bmp", Bitmap({10, 10}));
  const std::string b = dir.Write("b.bmp", Bitmap({10, 10}));
  const std::string c = dir.Write("c.bmp", Bitmap({10, 10}));
  const auto firstA = pictures.Load(a);
  const auto firstB = pictures.Load(b);
  EXPECT_EQ(pictures.Load(a), firstA);  // a is now the most recent
  pictures.Load(c);                     // b goes
  EXPECT_EQ(pictures.size(), 2U);
  EXPECT_EQ(pictures.Load(a), firstA);
  EXPECT_NE(pictures.Load(b), firstB);
}

TEST(PictureCache, KeepsWithinItsMemoryBudget) {
  testing::TempDir dir;
  // 100 by 100 pixels of 32 bits: 40000 bytes each.
  PictureCache pictures(10, 100000);
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
    ASSERT_NE(pictures.Load(dir.Write(name, Bitmap({100, 100}))), nullptr);
  }
  EXPECT_EQ(pictures.size(), 2U);
  // The newest stays even when it alone is over budget.
  PictureCache tiny(10, 10);
  EXPECT_NE(tiny.Load(dir.path() + "/a.bmp"), nullptr);
  EXPECT_EQ(tiny.size(), 1U);
}

TEST(PictureCache, APdfEmbedsALogoOnEveryPageOnce) {
  testing::TempDir dir;
  const std::string logo = dir.Write("logo.bmp", Bitmap({120, 48}));
  const QString pdf = QString::fromStdString(dir.path() + "/job.pdf");
  PictureCache pictures;
  {
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    PainterPageView view(painter, ViewScale::Millimetres(writer.resolution()));
    for (int page = 0; page < 20; ++page) {
      if (page > 0) writer.newPage();
      view.DrawPicture(*pictures.Load(logo), 150, 10, std::nullopt);
      view.DrawRect(10, 10, 100, 20, 0, false);
    }
  }
  EXPECT_EQ(testing::PdfFaults(pdf.toStdString()), "");
  const std::string bytes = testing::ReadAll(pdf.toStdString());
  std::size_t images = 0;
  for (auto at = bytes.find("/Subtype /Image"); at != std::string::npos;
       at = bytes.find("/Subtype /Image", at + 1)) {
    ++images;
  }
  EXPECT_EQ(images, 1U);
}

TEST(PictureCache, OneFileUnderManyNamesIsOnePicture) {
  testing::TempDir dir;
  const std::string logo = dir.Write("logo.bmp", Bitmap({10, 10}));
  const std::string link = dir.path() + "/linked.bmp";
  ASSERT_EQ(::link(logo.c_str(), link.c_str()), 0);
  PictureCache pictures;
  const auto first = pictures.Load(logo);
  ASSERT_NE(first, nullptr);
  for (const std::string& name :
       {dir.path() + "/./logo.bmp", dir.path() + "//logo.bmp", link,
        dir.path() + "/../" + fs::path(dir.path()).filename().string() + "/logo.bmp"}) {
    EXPECT_EQ(pictures.Load(name), first) << name;
  }
  EXPECT_EQ(pictures.size(), 1U);
}

TEST(PictureCache, ScaledCopiesCountAgainstTheBudget) {
  testing::TempDir dir;
  // 100 by 100 pixels: 40000 bytes, and 160000 more once drawn at twice the size.
  PictureCache pictures(10, 100000);
  const auto a = pictures.Load(dir.Write("a.bmp", Bitmap({100, 100})));
  const auto b = pictures.Load(dir.Write("b.bmp", Bitmap({100, 100})));
  ASSERT_TRUE(a && b);
  EXPECT_EQ(pictures.MemoryBytes(), 80000);
  QImage window(300, 300, QImage::Format_RGB32);
  QPainter painter(&window);
  dynamic_cast<const DrawablePicture&>(*a).Draw(painter, QRectF(0, 0, 200, 200));
  EXPECT_EQ(pictures.MemoryBytes(), 240000);
  // The next load sees the copy and lets the least recent picture go.
  EXPECT_EQ(pictures.Load(dir.path() + "/b.bmp"), b);
  EXPECT_EQ(pictures.size(), 1U);
  EXPECT_EQ(pictures.MemoryBytes(), 40000);
}

TEST(PictureCache, APageUsesPicturesUpToItsPixels) {
  testing::TempDir dir;
  // 100 by 100 pixels each; a page may have 25000.
  PictureCache pictures(10, std::int64_t{1} << 30, 25000);
  const std::string a = dir.Write("a.bmp", Bitmap({100, 100}));
  const std::string b = dir.Write("b.bmp", Bitmap({100, 100}));
  const std::string c = dir.Write("c.bmp", Bitmap({100, 100}));
  const std::string big = dir.Write("big.bmp", Bitmap({200, 200}));
  const struct {
    const char* step;
    std::string load;  // empty: a new page starts
    bool drawn;
  } steps[] = {
      {"first", a, true},
      {"second", b, true},
      {"the first again", a, true},
      {"past the page's pixels", c, false},
      {"once past, nothing new", dir.Write("d.bmp", Bitmap({1, 1})), false},
      {"what the page has still draws", b, true},
      {"new page", "", true},
      {"a page's first picture draws whatever its size", big, true},
      {"the second does not", a, false},
      {"new page", "", true},
      {"kept from earlier pages", c, true},
  };
  for (const auto& s : steps) {
    if (s.load.empty()) {
      pictures.StartPage();
      continue;
    }
    EXPECT_EQ(pictures.Load(s.load) != nullptr, s.drawn) << s.step;
  }
}

TEST(PictureCache, APictureLargerThanTheWindowDrawsItsVisiblePartWithoutACopy) {
  testing::TempDir dir;
  QImage source(6000, 60, QImage::Format_RGB32);
  source.fill(Qt::red);
  for (int y = 0; y < source.height(); ++y) {
    std::fill_n(reinterpret_cast<QRgb*>(source.scanLine(y)) + 3000, 3000, qRgb(0, 0, 255));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  source.save(&buffer, "BMP");
  PictureCache pictures;
  const auto picture = pictures.Load(dir.Write("wide.bmp", bytes.toStdString()));
  ASSERT_NE(picture, nullptr);
  const struct {
    QPoint at;
    QRgb colour;
  } expected[] = {{{5, 30}, qRgb(255, 0, 0)},
                  {{95, 30}, qRgb(255, 0, 0)},
                  {{105, 30}, qRgb(0, 0, 255)},
                  {{195, 30}, qRgb(0, 0, 255)},
                  {{50, 80}, qRgb(255, 255, 255)}};
  for (const double ratio : {1.0, 2.0}) {
    QImage window(200, 100, QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    window.fill(Qt::white);
    QPainter painter(&window);
    // The border of the colours lands at pixel 100.
    dynamic_cast<const DrawablePicture&>(*picture).Draw(
        painter, QRectF(-2900 / ratio, 0, 6000 / ratio, 60 / ratio));
    painter.end();
    for (const auto& e : expected) {
      EXPECT_EQ(window.pixel(e.at) & 0xFFFFFF, e.colour & 0xFFFFFF)
          << ratio << ": " << e.at.x() << "," << e.at.y();
    }
  }
  EXPECT_EQ(pictures.MemoryBytes(), ImageOf(picture).sizeInBytes());
}

}  // namespace
}  // namespace lvx
