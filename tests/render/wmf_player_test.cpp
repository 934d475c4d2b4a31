// SPDX-License-Identifier: GPL-3.0-or-later
// How the metafile player follows the records' drawing state.
#include <gtest/gtest.h>

#include <QImage>

#include "metafile_builder.h"
#include "page_image.h"
#include "picture_file.h"
#include "probes.h"
#include "wmf_picture.h"

namespace lvx {
namespace {

using testing::ExpectEdges;
using testing::InkBounds;
using testing::IsBlue;
using testing::IsRed;
using testing::WmfBuilder;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kSaveDc = 0x001E;
constexpr std::uint16_t kRestoreDc = 0x0127;
constexpr std::uint16_t kIntersectClipRect = 0x0416;

// A 40 by 20 mm frame of 400 by 200 units, with the pen switched off.
WmfBuilder Frame() {
  return std::move(WmfBuilder({0, 0, 400, 200}, 254).NullPen().Select(0));
}

// The picture drawn at (0, 0) on a 96-dpi millimetre view.
QImage Drawn(const QByteArray& wmf) {
  const auto picture = DecodePicture(wmf);
  PageImage page({160, 80}, ViewScale::Millimetres(kScreenDpi));
  if (picture) page.view().DrawPicture(*picture, 0, 0, std::nullopt);
  return page.image();
}

// Millimetres of the picture to pixels of Drawn.
QRectF Pixels(double x1, double y1, double x2, double y2) {
  const double k = 96 / 25.4;
  return QRectF(QPointF(x1 * k, y1 * k), QPointF(x2 * k, y2 * k));
}

TEST(WmfPlayer, ANewObjectTakesTheLowestFreeSlot) {
  const QImage image = Drawn(Frame()
                                 .SolidBrush(kRed)   // slot 1
                                 .SolidBrush(kBlue)  // slot 2
                                 .Record(kDeleteObject, {1})
                                 .SolidBrush(kBlue)  // slot 1 again
                                 .Select(1)
                                 .Rectangle({0, 0, 100, 100})
                                 .Bytes());
  EXPECT_TRUE(InkBounds(image, image.rect(), IsRed).isEmpty());
  ExpectEdges(InkBounds(image, image.rect(), IsBlue), Pixels(0, 0, 10, 10));
}

TEST(WmfPlayer, TransparentTextAfterAnOpaqueShapeHasNoBackground) {
  // Red all over (drawn while the background is opaque), then capitals 10
  // mm high at (5, 5) mm in the transparent mode.
  const QImage image = Drawn(Frame()
                                 .SolidBrush(kRed)
                                 .Select(1)
                                 .Rectangle({0, 0, 400, 200})
                                 .Font(100, "Arial")
                                 .Select(2)
                                 .TransparentText()
                                 .TextOut(50, 50, "HH")
                                 .Bytes());
  // The left side bearing of the first H, inside the text's cell.
  const QPoint bearing = Pixels(5.2, 10, 5.2, 10).topLeft().toPoint();
  EXPECT_TRUE(IsRed(image.pixel(bearing)));
  const QRect picture = Pixels(0, 0, 40, 20).toRect().adjusted(0, 0, -2, -2);
  EXPECT_TRUE(InkBounds(image, picture,
                        [](QRgb pixel) {
                          return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) > 200;
                        })
                  .isEmpty())
      << "no white cell behind the text";
}

TEST(WmfPlayer, RestoreDcBringsBackBrushAndWindow) {
  const QImage image = Drawn(Frame()
                                 .SolidBrush(kRed)
                                 .Select(1)
                                 .Record(kSaveDc, {})
                                 .SolidBrush(kBlue)
                                 .Select(2)
                                 .WindowExt(800, 400)
                                 .Record(kRestoreDc, {0xFFFF})  // one state back
                                 .Rectangle({0, 0, 100, 100})
                                 .Bytes());
  EXPECT_TRUE(InkBounds(image, image.rect(), IsBlue).isEmpty());
  ExpectEdges(InkBounds(image, image.rect(), IsRed), Pixels(0, 0, 10, 10));
}

TEST(WmfPlayer, ClipRectangleCutsLaterDrawing) {
  const QImage image = Drawn(Frame()
                                 .SolidBrush(kRed)
                                 .Select(1)
                                 .Record(kIntersectClipRect, {100, 200, 0, 0})
                                 .Rectangle({0, 0, 400, 200})
                                 .Bytes());
  ExpectEdges(InkBounds(image, image.rect(), IsRed), Pixels(0, 0, 20, 10));
}

TEST(WmfPlayer, AWindowWhoseYRunsUpwardsTurnsThePictureOver) {
  const QImage image = Drawn(Frame()
                                 .WindowOrg(0, 200)
                                 .WindowExt(400, -200)
                                 .SolidBrush(kRed)
                                 .Select(1)
                                 .Rectangle({0, 0, 100, 50})  // the bottom-left corner
                                 .Bytes());
  ExpectEdges(InkBounds(image, image.rect(), IsRed), Pixels(0, 15, 10, 20));
}

TEST(WmfPlayer, BitmapRecordsDrawTheirRowsTheRightWayUp) {
  // Upper half red, lower half blue, stretched over (100, 50) to (300, 150).
  QImage bitmap(8, 8, QImage::Format_RGB32);
  bitmap.fill(Qt::blue);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) bitmap.setPixel(x, y, qRgb(255, 0, 0));
  }
  const QImage image = Drawn(Frame().StretchDib({100, 50, 200, 100}, bitmap).Bytes());
  ExpectEdges(InkBounds(image), Pixels(10, 5, 30, 15));
  // Smooth scaling blurs the middle; well inside each half the colour holds.
  const ViewScale mm = ViewScale::Millimetres(kScreenDpi);
  EXPECT_TRUE(IsRed(testing::PixelAt(image, mm, 20, 6.5)));
  EXPECT_TRUE(IsBlue(testing::PixelAt(image, mm, 20, 13.5)));
}

// A one-bit bitmap record of `side` by `side` pixels, all black, drawn over
// the frame's top-left corner.
std::vector<std::uint16_t> MonoBitmapWords(int side) {
  const auto word = [](std::uint32_t v) { return static_cast<std::uint16_t>(v); };
  const auto high = [](std::uint32_t v) { return static_cast<std::uint16_t>(v >> 16); };
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(side) + 31) / 32 * 4;
  const auto s = static_cast<std::uint32_t>(side);
  std::vector<std::uint16_t> words = {0x0020, 0x00CC, 0, word(s), word(s), 0, 0, 10, 10, 0, 0};
  // The header, then two palette entries, black and white.
  for (const std::uint32_t v : {40U, s, s}) words.insert(words.end(), {word(v), high(v)});
  words.insert(words.end(), {1, 1, 0, 0, word(rowBytes * s), high(rowBytes * s), 0, 0, 0, 0, 2, 0,
                             0, 0, 0, 0, 0xFFFF, 0x00FF});
  words.resize(words.size() + rowBytes * s / 2, 0);
  return words;
}

TEST(WmfPicture, BitmapsPastThePixelsOfTheFileAreNotDecoded) {
  const int side = 2048;
  const qint64 each = qint64{side} * side;
  const qint64 fitting = WmfPicture::kMaxPixelsPerFile / each;
  WmfBuilder wmf = Frame();
  const auto words = MonoBitmapWords(side);
  for (qint64 i = 0; i < fitting + 2; ++i) wmf.Record(0x0F43, words);
  const auto picture = WmfPicture::Decode(wmf.Bytes());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Pixels(), fitting * each);
  // The decoded bitmaps draw.
  const QImage drawn = Drawn(wmf.Bytes());
  EXPECT_EQ(qGray(drawn.pixel(2, 2)), 0);
}

}  // namespace
}  // namespace lvx
