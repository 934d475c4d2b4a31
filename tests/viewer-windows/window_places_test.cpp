// SPDX-License-Identifier: GPL-3.0-or-later
// Where the viewer's windows open: beside the page window, or where the
// user last put them.
#include "window_places.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "window_fixture.h"

namespace lvx {
namespace {

using testing::WindowFixture;

TEST(WindowPlaces, OnSomeScreenWhenTheTitleBarCanBeTaken) {
  const QList<QRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
  const struct {
    QRect frame;
    bool reachable;
  } rows[] = {
      {{100, 100, 461, 537}, true},          {{2000, 500, 461, 537}, true},  // on the second screen
      {{1250, 100, 461, 537}, true},                                         // across both
      {{-390, 100, 461, 537}, true},    // 71 pixels of its title bar on the screen
      {{-420, 100, 461, 537}, false},   // 41 pixels of its title bar
      {{3180, 100, 461, 537}, false},   // right of every screen
      {{100, -10, 461, 537}, false},    // title bar above the screen
      {{100, 1015, 461, 537}, false},   // 9 pixels of title bar on the first screen
      {{100, 1070, 461, 537}, false},   // below the first, left of the second
      {{1400, 1070, 461, 537}, false},  // the second screen's last pixels
      {{100, 1000, 461, 537}, true},    // 24 pixels of title bar left
      {{-100000, -100000, 461, 537}, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(OnSomeScreen(row.frame, screens), row.reachable)
        << row.frame.x() << "," << row.frame.y();
  }
  EXPECT_FALSE(OnSomeScreen({100, 100, 461, 537}, {}));
}

TEST(WindowPlaces, ZoomOpensBesideThePageWindowNeverOverItsButtons) {
  const QSize zoom(779, 570);
  const struct {
    QRect page;
    QRect screen;
    QPoint expected;
  } rows[] = {
      // Room on the right.
      {{100, 50, 461, 567}, {0, 0, 1920, 1080}, {569, 50}},
      // Not on the right, on the left.
      {{1000, 50, 461, 567}, {0, 0, 1920, 1080}, {213, 50}},
      // Neither: left of the panel, at the screen's edge.
      {{300, 50, 461, 567}, {0, 0, 1280, 1024}, {0, 50}},
      // Kept on the screen vertically.
      {{100, 800, 461, 567}, {0, 0, 1920, 1080}, {569, 510}},
      // A second screen's own area.
      {{2000, 100, 461, 567}, {1920, 0, 1920, 1080}, {2469, 100}},
  };
  for (const auto& row : rows) {
    const int panelLeft = row.page.left() + 388;
    const QPoint at = ZoomPlaceBeside(row.page, panelLeft, zoom, row.screen);
    EXPECT_EQ(at, row.expected) << row.page.x() << "," << row.page.y();
    const QRect placed(at, zoom);
    const QRect panel(panelLeft, row.page.top(), row.page.right() + 1 - panelLeft,
                      row.page.height());
    // The buttons stay free where the screen allows it at all.
    if (row.screen.width() >= zoom.width() + row.page.width() - 388 + 8 &&
        panelLeft - zoom.width() - 8 >= row.screen.left()) {
      EXPECT_FALSE(placed.intersects(panel));
    }
  }
}

TEST(WindowPlaces, WindowsComeBackWhereTheUserPutThem) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", testing::FilledBox(10, 10, 5, 5)));
  f.page().move(37, 41);
  f.ClickPage();
  f.zoom(ZoomHalf::kUpper).move(120, 90);
  f.windows.reset();

  f.Open(f.Doc("a.lvx", testing::FilledBox(10, 10, 5, 5)));
  EXPECT_EQ(f.page().pos(), QPoint(37, 41));
  f.ClickPage();
  EXPECT_EQ(f.zoom(ZoomHalf::kUpper).pos(), QPoint(120, 90));
}

TEST(WindowPlaces, PlaceOffEveryScreenIsNotTaken) {
  WindowFixture f;
  const QString file = QString::fromStdString(f.dir.path() + "/config/lvx/lvxview-windows.conf");
  {
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue("Form2/pos", QPoint(-5000, 20));
    settings.setValue("Form3/pos", QPoint(20, 20));
  }
  f.Open(f.Doc("a.lvx", testing::FilledBox(10, 10, 5, 5)));
  EXPECT_TRUE(OnSomeScreen(f.page().frameGeometry(),
                           {QGuiApplication::primaryScreen()->availableGeometry()}));
  f.ClickPage();
  EXPECT_EQ(f.zoom(ZoomHalf::kUpper).pos(), QPoint(20, 20));
}

TEST(WindowPlaces, PlaceNotMovedByTheUserIsNotStored) {
  WindowFixture f;
  f.Open(f.Doc("a.lvx", testing::FilledBox(10, 10, 5, 5)));
  f.ClickPage();
  f.zoom(ZoomHalf::kUpper).hide();
  WindowPlaces places(QString::fromStdString(f.dir.path() + "/config/lvx/lvxview-windows.conf"));
  EXPECT_EQ(places.Stored("Form3"), std::nullopt);
}

}  // namespace
}  // namespace lvx
