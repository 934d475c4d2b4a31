// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom windows: layout, their buttons, the way back, the clipboard,
// and where a page's items land in their drawings and the page window's.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include "window_fixture.h"

namespace lvx {
namespace {

using testing::FilledBox;
using testing::IsWhite;
using testing::PagePixel;
using testing::WindowFixture;
using testing::ZoomPixel;

const QColor kBlack(Qt::black);

TEST(ZoomWindow, LaidOutAsDesigned) {
  WindowFixture f;
  f.Open(f.Doc("z.lvx", "x\r\n"));
  const struct {
    ZoomHalf half;
    const char* objectName;
    const char* caption;
    const char* switchCaption;
    QColor switchFace;
  } windows[] = {
      {ZoomHalf::kUpper, "Form3", "zoom sopra z.lvx", "&S\no\nt\nt\no", QColor(192, 192, 0)},
      {ZoomHalf::kLower, "Form4", "zoom sotto z.lvx", "&S\no\np\nr\na", QColor(255, 255, 0)},
  };
  for (const auto& w : windows) {
    ZoomWindow& zoom = f.zoom(w.half);
    EXPECT_FALSE(zoom.isVisible());
    EXPECT_EQ(zoom.objectName(), w.objectName);
    EXPECT_EQ(zoom.windowTitle(), w.caption);
    EXPECT_EQ(zoom.size(), QSize(779, 540));
    EXPECT_EQ(zoom.cursor().shape(), Qt::CrossCursor);
    const struct {
      const char* name;
      QString text;
      QRect pixels;
      QColor face;
    } buttons[] = {
        {"Command1", "&A\nv\na\nn\nt\ni", {752, 8, 17, 102}, QColor()},
        {"Command2", w.switchCaption, {752, 128, 17, 102}, w.switchFace},
        {"Command3", "&C\no\np\ni\na", {752, 256, 17, 102}, QColor(128, 128, 255)},
    };
    QWidget* inChain = zoom.Button("Command1");
    for (const auto& b : buttons) {
      QPushButton* button = zoom.Button(b.name);
      EXPECT_EQ(button->text(), b.text) << w.objectName << b.name;
      EXPECT_EQ(button->geometry(), b.pixels) << w.objectName << b.name;
      if (b.face.isValid()) {
        EXPECT_EQ(button->palette().color(QPalette::Button), b.face);
      }
      EXPECT_EQ(inChain, button) << w.objectName << b.name;
      inChain = inChain->nextInFocusChain();
    }
  }
}

TEST(ZoomWindow, SwitchHalvesAndGoBackToThePageWindow) {
  WindowFixture f;
  f.Open(f.Doc("z.lvx", "x\r\n"));
  ZoomWindow& upper = f.zoom(ZoomHalf::kUpper);
  ZoomWindow& lower = f.zoom(ZoomHalf::kLower);
  f.ClickPage();
  ASSERT_TRUE(upper.isVisible());
  WindowFixture::Click(upper, "Command2");
  EXPECT_FALSE(upper.isVisible());
  EXPECT_TRUE(lower.isVisible());
  WindowFixture::Click(lower, "Command2");
  EXPECT_TRUE(upper.isVisible());
  EXPECT_FALSE(lower.isVisible());
  // A click anywhere on the surface, not on a button.
  QTest::mouseClick(&upper, Qt::LeftButton, Qt::NoModifier, QPoint(300, 400));
  EXPECT_FALSE(upper.isVisible());
  EXPECT_TRUE(f.page().isVisible());
}

TEST(ZoomWindow, ForwardPagesAlsoWhileThePageWindowIsBusy) {
  WindowFixture f;
  f.Open(
      f.Doc("z.lvx", FilledBox(10, 10, 5, 5) + "*PAGE\r\n" + FilledBox(50, 10, 5, 5) + "#EOD\r\n"));
  f.ClickPage();
  ZoomWindow& upper = f.zoom(ZoomHalf::kUpper);
  f.page().Busy = 1;
  WindowFixture::Click(upper, "Command1");
  EXPECT_EQ(f.document().reader().PageNumber, 2);
  EXPECT_TRUE(upper.isVisible());
  const QImage& drawing = f.document().ZoomDrawing(ZoomHalf::kUpper);
  EXPECT_TRUE(IsWhite(ZoomPixel(drawing, 12, 12, ZoomHalf::kUpper)));
  EXPECT_EQ(ZoomPixel(drawing, 52, 12, ZoomHalf::kUpper), kBlack);
  EXPECT_EQ(PagePixel(f.document().PageDrawing(), 52, 12), kBlack);
  // After the file's last "#EOD" the reader closes the zoom window on its
  // way back to the first page.
  WindowFixture::Click(upper, "Command1");
  EXPECT_FALSE(upper.isVisible());
  EXPECT_EQ(f.document().reader().PageNumber, 1);
  EXPECT_EQ(PagePixel(f.document().PageDrawing(), 12, 12), kBlack);
}

TEST(ZoomWindow, CopyPutsTheDrawingOnTheClipboard) {
  WindowFixture f;
  // Page 2 is empty.
  f.Open(f.Doc("z.lvx",
               FilledBox(20, 20, 30, 30) + FilledBox(20, 200, 30, 30, "0000FF") + "*PAGE\r\n"));
  QClipboard* clipboard = QGuiApplication::clipboard();
  for (const ZoomHalf half : {ZoomHalf::kUpper, ZoomHalf::kLower}) {
    clipboard->setText(QStringLiteral("before"));
    WindowFixture::Click(f.zoom(half), "Command3");
    EXPECT_TRUE(clipboard->text().isEmpty());
    const QImage copied = clipboard->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied, f.document().ZoomDrawing(half).convertToFormat(QImage::Format_RGB32));
  }
  EXPECT_EQ(ZoomPixel(clipboard->image(), 30, 210, ZoomHalf::kLower), QColor(255, 0, 0));

  WindowFixture::Click(f.page(), "Command2");
  clipboard->setText(QStringLiteral("before"));
  WindowFixture::Click(f.zoom(ZoomHalf::kLower), "Command3");
  const QImage empty = clipboard->image();
  ASSERT_EQ(empty.size(), QSize(779, 540));
  EXPECT_TRUE(IsWhite(ZoomPixel(empty, 30, 210, ZoomHalf::kLower)));
}

// Where a box at known millimetres lands in the three drawings.
TEST(ZoomWindow, BoxesLandAtTheirMillimetres) {
  WindowFixture f;
  f.Open(f.Doc("z.lvx", FilledBox(20, 30, 40, 20) +                  // upper half only
                            FilledBox(100, 200, 50, 30, "00FF00") +  // lower half only
                            FilledBox(150, 130, 20, 20, "FF0000") +  // across the 140 mm line
                            FilledBox(10, 290, 20, 5)));             // below both zoom windows
  const QImage& page = f.document().PageDrawing();
  const QImage& upper = f.document().ZoomDrawing(ZoomHalf::kUpper);
  const QImage& lower = f.document().ZoomDrawing(ZoomHalf::kLower);
  const QColor green(0, 255, 0), blue(0, 0, 255);

  // The page at half size: edges probed half a millimetre inside and out.
  EXPECT_EQ(PagePixel(page, 21, 31), kBlack);
  EXPECT_EQ(PagePixel(page, 59, 49), kBlack);
  EXPECT_TRUE(IsWhite(PagePixel(page, 18, 40)));
  EXPECT_TRUE(IsWhite(PagePixel(page, 62, 40)));
  EXPECT_TRUE(IsWhite(PagePixel(page, 40, 52)));
  EXPECT_EQ(PagePixel(page, 125, 215), green);
  EXPECT_EQ(PagePixel(page, 160, 140), blue);
  // The client area ends at the half page's 142 mm: the foot of the page
  // stays out of the window.
  EXPECT_EQ(page.height(), 537);

  // The upper window: page coordinates at about real size.
  EXPECT_EQ(ZoomPixel(upper, 20.5, 30.5, ZoomHalf::kUpper), kBlack);
  EXPECT_EQ(ZoomPixel(upper, 59.5, 49.5, ZoomHalf::kUpper), kBlack);
  EXPECT_TRUE(IsWhite(ZoomPixel(upper, 19, 40, ZoomHalf::kUpper)));
  EXPECT_TRUE(IsWhite(ZoomPixel(upper, 61, 40, ZoomHalf::kUpper)));
  EXPECT_TRUE(IsWhite(ZoomPixel(upper, 40, 51, ZoomHalf::kUpper)));
  // The lower window: y counted from 140 mm.
  EXPECT_EQ(ZoomPixel(lower, 100.5, 200.5, ZoomHalf::kLower), green);
  EXPECT_EQ(ZoomPixel(lower, 149.5, 229.5, ZoomHalf::kLower), green);
  EXPECT_TRUE(IsWhite(ZoomPixel(lower, 99, 215, ZoomHalf::kLower)));
  EXPECT_TRUE(IsWhite(ZoomPixel(lower, 40, 175, ZoomHalf::kLower)));
  EXPECT_TRUE(IsWhite(ZoomPixel(lower, 125, 231, ZoomHalf::kLower)));

  // The box across the line shows in both: down to 143 mm in the upper
  // window, from its top edge at 130 mm (10 mm above the lower window's
  // edge, so from the edge) in the lower one.
  EXPECT_EQ(ZoomPixel(upper, 160, 135, ZoomHalf::kUpper), blue);
  EXPECT_EQ(ZoomPixel(upper, 160, 142.5, ZoomHalf::kUpper), blue);
  EXPECT_EQ(ZoomPixel(lower, 160, 140.2, ZoomHalf::kLower), blue);
  EXPECT_EQ(ZoomPixel(lower, 160, 149.5, ZoomHalf::kLower), blue);
  EXPECT_TRUE(IsWhite(ZoomPixel(lower, 160, 151, ZoomHalf::kLower)));

  // Nothing of the box at 290 mm shows in the lower window, which ends at
  // 283 mm.
  EXPECT_TRUE(IsWhite(ZoomPixel(lower, 20, 282.8, ZoomHalf::kLower)));
}

}  // namespace
}  // namespace lvx
