// SPDX-License-Identifier: GPL-3.0-or-later
// The page window driven as a person would: its buttons, its page click
// and pointer, its busy guard and its exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "glass_cursor.h"
#include "window_fixture.h"

namespace lvx {
namespace {

using testing::WindowFixture;
namespace fs = std::filesystem;

const std::string kDoc = "*INFO /T:Fatture di prova\r\n" + testing::FilledBox(20, 20, 40, 20);

TEST(PageWindow, ButtonsAreLaidOutAsDesigned) {
  WindowFixture f;
  f.Settings("ROLLDIR=1\r\n");
  f.Open(f.Doc("a.lvx", kDoc), false);
  f.session->Settings.FaxEnabled = f.session->Settings.PdfEnabled = 1;
  f.StartWindows();
  PageWindow& page = f.page();
  EXPECT_EQ(page.objectName(), "Form2");
  EXPECT_EQ(page.size(), QSize(461, 537));
  EXPECT_EQ(page.windowTitle(), "a.lvx     Fatture di prova");

  const struct {
    const char* name;
    const char* caption;
    QRect pixels;
    QColor face;
  } rows[] = {
      {"Command1", "&Esci", {396, 8, 57, 33}, QColor(255, 192, 192)},
      {"Command2", "&Pagina avanti", {396, 56, 57, 33}, QColor()},
      {"Command3", "&Modifica", {396, 104, 57, 33}, QColor()},
      {"Command4", "&Stampa", {396, 152, 57, 33}, QColor(255, 255, 128)},
      {"Command5", "&Imposta Stamp.", {396, 200, 57, 33}, QColor()},
      {"Command8", "E-&mail", {396, 296, 57, 33}, QColor()},
      {"Command9", "Invia &Fax", {396, 400, 57, 33}, QColor(192, 255, 192)},
      {"Command10", "Info Ms&g", {396, 456, 57, 33}, QColor()},
      {"Command11", "<", {400, 504, 17, 17}, QColor()},
      {"Command12", ">", {432, 504, 17, 17}, QColor()},
      {"Command6", ".p&df", {396, 348, 57, 33}, QColor(255, 192, 128)},
  };
  const QColor standard = page.palette().color(QPalette::Button);
  QWidget* inChain = page.Button("Command1");
  for (const auto& row : rows) {
    QPushButton* button = page.Button(row.name);
    ASSERT_NE(button, nullptr) << row.name;
    EXPECT_EQ(button->text().replace(u'\n', u' '), QString::fromUtf8(row.caption)) << row.name;
    EXPECT_EQ(button->geometry(), row.pixels) << row.name;
    EXPECT_EQ(button->palette().color(QPalette::Button), row.face.isValid() ? row.face : standard)
        << row.name;
    EXPECT_EQ(button->font().family(), "MS Sans Serif") << row.name;
    EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 8.25) << row.name;
    const bool arrows = button->text() == "<" || button->text() == ">";
    EXPECT_EQ(button->font().bold(), arrows) << row.name;
    EXPECT_TRUE(button->isVisible() && button->isEnabled()) << row.name;
    // The tab order is the order of the table.
    EXPECT_EQ(inChain, button) << row.name;
    do {
      inChain = inChain->nextInFocusChain();
    } while (qobject_cast<QPushButton*>(inChain) == nullptr);
  }
  EXPECT_EQ(page.focusWidget(), page.Button("Command1"));
}

TEST(PageWindow, PanelCoversTheRightEdgeOfThePage) {
  WindowFixture f;
  // A box across the whole page width: its right end lies under the panel.
  f.Open(f.Doc("a.lvx", testing::FilledBox(0, 10, 210, 20)));
  const QImage shown = f.page().grab().toImage();
  EXPECT_EQ(shown.pixelColor(380, 30), QColor(Qt::black));
  EXPECT_EQ(shown.pixelColor(388, 30), QColor(128, 128, 128));
  EXPECT_EQ(shown.pixelColor(392, 30), QColor(224, 224, 224));
  EXPECT_EQ(shown.pixelColor(392, 535), QColor(224, 224, 224));
  EXPECT_EQ(shown.pixelColor(380, 300), QColor(Qt::white));
}

// Which buttons show for each combination of the settings: the load steps
// and every action after them.
TEST(PageWindow, OptionalButtonsFollowTheSettings) {
  const QStringList all = {"Command1", "Command2", "Command3",  "Command4",  "Command5", "Command6",
                           "Command8", "Command9", "Command10", "Command11", "Command12"};
  const struct {
    std::int16_t ini, rollDir, fax, pdf;
    QStringList hidden;
  } rows[] = {
      {0,
       0,
       0,
       0,
       {"Command3", "Command6", "Command8", "Command9", "Command10", "Command11", "Command12"}},
      {0, 1, 1, 1, {"Command3", "Command6", "Command8", "Command9", "Command10"}},
      {1, 0, 0, 0, {"Command6", "Command9", "Command11", "Command12"}},
      {1, 0, 0, 1, {"Command9", "Command11", "Command12"}},
      {1, 2, 1, 0, {"Command6"}},
      {1, 1, 1, 1, {}},
  };
  for (const auto& row : rows) {
    WindowFixture f;
    f.Open(f.Doc("a.lvx", kDoc), false);
    f.session->Settings.IniFound = row.ini;
    f.session->Settings.RollDir = row.rollDir;
    f.session->Settings.FaxEnabled = row.fax;
    f.session->Settings.PdfEnabled = row.pdf;
    f.StartWindows();
    const auto check = [&](const char* when) {
      for (const QString& name : all) {
        QPushButton* button = f.page().Button(name.toLatin1().constData());
        const bool shown = !row.hidden.contains(name);
        EXPECT_EQ(button->isVisible(), shown) << name.toStdString() << " " << when;
        if (shown) {
          EXPECT_TRUE(button->isEnabled()) << name.toStdString() << " " << when;
        }
      }
    };
    check("on load");
    WindowFixture::Click(f.page(), "Command2");
    check("after the next page");
    if (row.rollDir != 0) {
      WindowFixture::Click(f.page(), "Command12");
      check("after the next document");
    }
  }
}

TEST(PageWindow, PointerIsTheGlassUpToThePageEdge) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", kDoc));
  f.MoveTo(102.0, 50.0);
  EXPECT_FLOAT_EQ(f.page().MouseX, 102.0F);
  EXPECT_FLOAT_EQ(f.page().MouseY, 50.0F);
  EXPECT_EQ(f.page().cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(f.page().cursor().hotSpot(), QPoint(9, 8));
  EXPECT_EQ(f.page().cursor().bitmap().size(), QSize(32, 32));
  f.MoveTo(102.2, 50.0);
  EXPECT_EQ(f.page().cursor().shape(), Qt::ArrowCursor);
  f.MoveTo(10.0, 140.0);
  EXPECT_EQ(f.page().cursor().shape(), Qt::BitmapCursor);
  f.page().Busy = 1;
  f.MoveTo(10.0, 140.0);
  EXPECT_EQ(f.page().cursor().shape(), Qt::WaitCursor);
}

TEST(PageWindow, GlassPointerIsABlackRimmedGlassOnATransparentGround) {
  const QCursor glass = GlassCursor();
  // In a bitmap a set pixel (colour 1) shows black; in the mask, it shows
  // at all.
  const QImage bits = glass.bitmap().toImage();
  const QImage mask = glass.mask().toImage();
  const auto set = [](const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == QColor(Qt::color1);
  };
  const struct {
    QPoint at;
    bool shown;
    bool black;
    const char* what;
  } rows[] = {
      {{0, 0}, false, false, "corner"},     {{31, 31}, false, false, "far corner"},
      {{31, 0}, false, false, "top right"}, {{9, 8}, true, false, "centre of the lens"},
      {{11, 8}, true, false, "glass"},      {{16, 8}, true, true, "rim right"},
      {{9, 1}, true, true, "rim top"},      {{2, 8}, true, true, "rim left"},
      {{19, 18}, true, true, "handle"},     {{24, 3}, false, false, "beside the handle"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(set(mask, row.at.x(), row.at.y()), row.shown) << row.what;
    EXPECT_EQ(set(bits, row.at.x(), row.at.y()), row.black) << row.what;
  }
  int shownPixels = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) shownPixels += set(mask, x, y) ? 1 : 0;
  }
  // The glass and its handle take well under half the square.
  EXPECT_GT(shownPixels, 150);
  EXPECT_LT(shownPixels, 400);
}

TEST(PageWindow, PageClickOpensTheHalfAtThe71MillimetreLine) {
  const struct {
    const char* name;
    std::optional<QPointF> moveTo;
    bool upper, lower;
  } rows[] = {
      {"no movement yet", std::nullopt, true, false},
      {"on the 102 mm edge", QPointF(102.0, 30.0), false, false},
      {"right of the page", QPointF(110.0, 30.0), false, false},
      {"just above 71 mm", QPointF(101.9, 70.9), true, false},
      {"on 71 mm", QPointF(50.0, 71.0), false, true},
      {"page foot", QPointF(1.0, 148.0), false, true},
  };
  for (const auto& row : rows) {
    WindowFixture f;
    f.Open(f.Doc("a.lvx", kDoc));
    if (row.moveTo) f.MoveTo(row.moveTo->x(), row.moveTo->y());
    f.ClickPage();
    EXPECT_EQ(f.zoom(ZoomHalf::kUpper).isVisible(), row.upper) << row.name;
    EXPECT_EQ(f.zoom(ZoomHalf::kLower).isVisible(), row.lower) << row.name;
    // The page window stays usable.
    EXPECT_TRUE(f.page().isVisible() && f.page().isEnabled()) << row.name;
  }
}

TEST(PageWindow, MovementOverAButtonIsNotThePagesMovement) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", kDoc));
  f.MoveTo(20.0, 100.0);
  QPushButton* button = f.page().Button("Command2");
  const QPointF at(5, 5);
  QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(button, &move);
  EXPECT_FLOAT_EQ(f.page().MouseX, 20.0F);
  f.ClickPage();
  EXPECT_TRUE(f.zoom(ZoomHalf::kLower).isVisible());
}

TEST(PageWindow, ActionsRunLockedAndOneAtATime) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", "A\r\n*PAGE\r\nB\r\n"));
  // What the window looks like while the page is being drawn.
  std::vector<bool> busyDuring, enabledDuring;
  std::vector<Qt::CursorShape> cursorDuring;
  QObject::connect(&f.document(), &ViewerDocument::PageDrawn, [&] {
    busyDuring.push_back(f.page().Busy == 1);
    enabledDuring.push_back(f.page().Button("Command1")->isEnabled() ||
                            f.page().Button("Command2")->isEnabled());
    cursorDuring.push_back(f.page().Button("Command2")->cursor().shape());
  });
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(busyDuring, std::vector<bool>{true});
  EXPECT_EQ(enabledDuring, std::vector<bool>{false});
  EXPECT_EQ(cursorDuring, std::vector<Qt::CursorShape>{Qt::WaitCursor});
  EXPECT_EQ(f.page().Busy, 0);
  EXPECT_TRUE(f.page().Button("Command2")->isEnabled());
  EXPECT_EQ(f.page().Button("Command2")->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(f.page().cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(f.document().reader().PageNumber, 2);
}

TEST(PageWindow, BusyIgnoresButtonsPageClickAndExit) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", "A\r\n*PAGE\r\nB\r\n"));
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  f.page().Busy = 1;
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(f.document().reader().PageNumber, 1);
  f.MoveTo(20.0, 20.0);
  f.ClickPage();
  EXPECT_FALSE(f.zoom(ZoomHalf::kUpper).isVisible());
  WindowFixture::Click(f.page(), "Command1");
  f.page().close();
  EXPECT_EQ(exits.count(), 0);
  EXPECT_TRUE(f.page().isVisible());
  EXPECT_EQ(f.page().Busy, 1);

  f.page().Busy = 0;
  f.ClickPage();
  EXPECT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(f.document().reader().PageNumber, 2);
  WindowFixture::Click(f.page(), "Command1");
  EXPECT_EQ(exits.count(), 1);
}

TEST(PageWindow, ExitClosesTheDocumentAndRemovesTheCompanionFiles) {
  for (const bool byTitleBar : {false, true}) {
    WindowFixture f;
    f.Open(f.Doc("a.lvx", "A\r\n*PAGE\r\nB\r\n"));
    for (const char* name : {"lvxview.flg", "scract.sh", "scract.bat"}) {
      f.dir.Write(std::string("app/") + name, "x");
    }
    QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
    ASSERT_TRUE(f.document().reader().IsOpen());
    if (byTitleBar) {
      f.page().close();
    } else {
      WindowFixture::Click(f.page(), "Command1");
    }
    EXPECT_EQ(exits.count(), 1) << byTitleBar;
    EXPECT_FALSE(f.document().reader().IsOpen()) << byTitleBar;
    for (const char* name : {"lvxview.flg", "scract.sh", "scract.bat"}) {
      EXPECT_FALSE(fs::exists(f.app + "/" + name)) << name << " " << byTitleBar;
    }
  }
}

TEST(PageWindow, AccessKeysWorkWithAlt) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", "A\r\n*PAGE\r\nB\r\n"));
  f.page().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.page()));
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  // An access key presses its button visibly: the click comes a moment later.
  QTest::keyClick(&f.page(), Qt::Key_P, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.document().reader().PageNumber == 2; }));
  QTest::keyClick(&f.page(), Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return exits.count() == 1; }));
}

}  // namespace
}  // namespace lvx
