// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "page_pngs.h"
#include "picture_cache.h"
#include "probes.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

TEST(PagePngs, EachPageOfEachViewAtItsWindowSize) {
  testing::TempDir dir;
  const std::string doc = dir.Write("doc.lvx",
                                    "*BOX /X:10 /Y:20 /W:50 /H:10 /C:&H000000FF /F\r\n"
                                    "*PAGE\r\n"
                                    "*BOX /X:10 /Y:150 /W:50 /H:10 /C:&H000000FF /F\r\n");
  PictureCache pictures;
  const auto written = WritePagePngs(doc, dir.path(), std::nullopt, &pictures);
  ASSERT_EQ(written.size(), 6U);
  EXPECT_EQ(written[0], dir.path() + "/page-1-main.png");
  EXPECT_EQ(written[5], dir.path() + "/page-2-lower.png");
  const QImage main(QString::fromStdString(written[0]));
  const QImage upper(QString::fromStdString(written[1]));
  const QImage lower2(QString::fromStdString(written[5]));
  EXPECT_EQ(main.size(), QSize(397, 562));
  EXPECT_EQ(upper.size(), QSize(779, 540));
  const ViewScale mm = ViewScale::Millimetres(kScreenDpi);
  EXPECT_TRUE(testing::IsRed(testing::PixelAt(main, mm, 10, 12)));
  EXPECT_TRUE(testing::IsRed(testing::PixelAt(upper, ViewScale::Zoom(), 20, 25)));
  // Page 2's bar lies in the lower half, 10 mm below its top.
  EXPECT_TRUE(testing::IsRed(testing::PixelAt(lower2, ViewScale::Zoom(), 20, 15)));
}

TEST(PagePngs, TheExampleInvoiceShowsItsLogo) {
  testing::TempDir dir;
  for (const auto& file : fs::directory_iterator(LVX_EXAMPLES)) {
    fs::copy(file.path(), dir.path() + "/" + file.path().filename().string());
  }
  PictureCache pictures;
  const auto written = WritePagePngs(dir.path() + "/invoice.lvx", dir.path(), 1, &pictures);
  ASSERT_EQ(written.size(), 3U);
  // logo.bmp stands at (150, 10) at its own size: a pixel is 25.4 / 96 mm.
  const auto blue = [](QRgb p) { return qBlue(p) > qRed(p) + 50; };
  const QImage source(QString::fromStdString(dir.path() + "/logo.bmp"));
  const QRect inSource = testing::InkBounds(source, source.rect(), blue);
  const QImage upper(QString::fromStdString(written[1]));
  const QRect drawn = testing::InkBounds(upper, QRect(500, 0, 279, 100), blue);
  const ViewScale zoom = ViewScale::Zoom();
  const double mmPerPixel = 25.4 / 96;
  EXPECT_NEAR(drawn.left(), (150 + inSource.left() * mmPerPixel) * zoom.x, 2);
  EXPECT_NEAR(drawn.top(), (10 + inSource.top() * mmPerPixel) * zoom.y, 2);
  EXPECT_NEAR(drawn.width(), inSource.width() * mmPerPixel * zoom.x, 2);
  EXPECT_NEAR(drawn.height(), inSource.height() * mmPerPixel * zoom.y, 2);
}

}  // namespace
}  // namespace lvx
