// SPDX-License-Identifier: GPL-3.0-or-later
// Paging forward through a file of several documents, and stepping
// through the documents of a folder with "<" and ">".
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

#include "window_fixture.h"

namespace lvx {
namespace {

using testing::FilledBox;
using testing::Marker;
using testing::ShownMarker;
using testing::WindowFixture;

TEST(Paging, MultiDocumentFileWrapsAndClosesTheZoomWindowsOnlyThen) {
  WindowFixture f;
  // Two documents of two pages each; the file ends with "#EOD".
  f.Open(f.Doc("multi.lvx", Marker(0) + "*PAGE\r\n" + Marker(1) + "#EOD\r\n" + Marker(2) +
                                "*PAGE\r\n" + Marker(3) + "#EOD\r\n"));
  EXPECT_EQ(f.page().windowTitle(), "multi.lvx     *multidoc");
  EXPECT_EQ(ShownMarker(f.document()), 0);
  f.MoveTo(20, 20);
  f.ClickPage();
  f.MoveTo(20, 100);
  f.ClickPage();
  for (int k = 1; k <= 3; ++k) {
    WindowFixture::Click(f.page(), "Command2");
    EXPECT_EQ(ShownMarker(f.document()), k);
    EXPECT_EQ(f.document().reader().PageNumber, k % 2 + 1);
    EXPECT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible()) << k;
    EXPECT_TRUE(f.zoom(ZoomHalf::kLower).isVisible()) << k;
  }
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(ShownMarker(f.document()), 0);
  EXPECT_FALSE(f.zoom(ZoomHalf::kUpper).isVisible());
  EXPECT_FALSE(f.zoom(ZoomHalf::kLower).isVisible());
}

TEST(Paging, FileWithoutEndMarkWrapsWithTheZoomWindowOpen) {
  WindowFixture f;
  f.Open(f.Doc("two.lvx", Marker(0) + "*PAGE\r\n" + Marker(1)));
  f.ClickPage();
  ASSERT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(ShownMarker(f.document()), 1);
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(ShownMarker(f.document()), 0);
  EXPECT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());
}

// A folder of three documents, each with its own marker and information.
struct Folder : WindowFixture {
  Folder() {
    Settings("ROLLDIR=1\r\n");
    Doc("a.lvx", "*INFO /T:Alpha\r\n" + Marker(0));
    Doc("b.lvx", "*INFO /T:Beta\r\n" + Marker(1) + "*PAGE\r\n" + Marker(4));
    Doc("c.lvx", "*INFO /T:Gamma\r\n" + Marker(2));
  }
  void ExpectDocument(const char* name, const char* info, int marker) {
    SCOPED_TRACE(name);
    EXPECT_EQ(session->DocFileName, name);
    EXPECT_EQ(page().windowTitle().toStdString(), std::string(name) + "     " + info);
    EXPECT_EQ(zoom(ZoomHalf::kUpper).windowTitle().toStdString(),
              std::string("zoom sopra ") + name);
    EXPECT_EQ(zoom(ZoomHalf::kLower).windowTitle().toStdString(),
              std::string("zoom sotto ") + name);
    EXPECT_EQ(ShownMarker(document()), marker);
    EXPECT_EQ(document().reader().PageNumber, 1);
    EXPECT_FALSE(zoom(ZoomHalf::kUpper).isVisible());
    EXPECT_FALSE(zoom(ZoomHalf::kLower).isVisible());
  }
};

TEST(Paging, PreviousAndNextDocumentWrapAroundTheFolder) {
  Folder f;
  f.Open(f.docs + "/b.lvx");
  EXPECT_EQ(f.session->DocIndex, 2);
  // Page on and open a zoom window: the step starts the next document
  // at its first page with the zoom windows closed.
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(ShownMarker(f.document()), 4);
  f.ClickPage();
  ASSERT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());

  WindowFixture::Click(f.page(), "Command12");
  f.ExpectDocument("c.lvx", "Gamma", 2);
  WindowFixture::Click(f.page(), "Command12");
  f.ExpectDocument("a.lvx", "Alpha", 0);
  WindowFixture::Click(f.page(), "Command11");
  f.ExpectDocument("c.lvx", "Gamma", 2);
  WindowFixture::Click(f.page(), "Command11");
  f.ExpectDocument("b.lvx", "Beta", 1);
  WindowFixture::Click(f.page(), "Command11");
  f.ExpectDocument("a.lvx", "Alpha", 0);
  EXPECT_EQ(f.session->DocIndex, 1);
  EXPECT_EQ(f.page().Busy, 0);
}

TEST(Paging, SingleDocumentFolderReloadsItsFirstPage) {
  WindowFixture f;
  f.Settings("ROLLDIR=1\r\n");
  f.Open(f.Doc("only.lvx", Marker(0) + "*PAGE\r\n" + Marker(1)));
  WindowFixture::Click(f.page(), "Command2");
  EXPECT_EQ(ShownMarker(f.document()), 1);
  for (const char* step : {"Command12", "Command11"}) {
    WindowFixture::Click(f.page(), step);
    EXPECT_EQ(ShownMarker(f.document()), 0) << step;
    EXPECT_EQ(f.session->DocIndex, 1) << step;
    WindowFixture::Click(f.page(), "Command2");
  }
}

// Two documents in one file, of three pages and two: markers 0 1 2 | 3 4.
std::string TwoDocuments() {
  return Marker(0) + "*PAGE\r\n" + Marker(1) + "*PAGE\r\n" + Marker(2) + "#EOD\r\n" + Marker(3) +
         "*PAGE\r\n" + Marker(4);
}

// Turns the wheel over `window` by `delta` eighths of a degree.
void Wheel(QWidget& window, int delta) {
  const QPointF at(100, 100);
  QWheelEvent event(at, window.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&window, &event);
}

void Activate(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST(PagingKeys, KeysAndWheelMoveWithinTheCurrentDocument) {
  // From a page (by its marker), what a key or the wheel shows next.
  const struct {
    int from;
    int key;  // 0: the wheel, by `wheel`
    int wheel;
    int to;
  } rows[] = {
      {0, Qt::Key_PageDown, 0, 1},
      {0, Qt::Key_Right, 0, 1},
      {2, Qt::Key_PageDown, 0, 3},
      {4, Qt::Key_Right, 0, 0},
      {0, 0, -120, 1},
      {3, 0, -240, 0},
      {2, Qt::Key_PageUp, 0, 1},
      {1, Qt::Key_Left, 0, 0},
      {2, Qt::Key_Backspace, 0, 1},
      {4, Qt::Key_PageUp, 0, 3},
      {0, Qt::Key_PageUp, 0, 0},
      {3, Qt::Key_Left, 0, 3},
      {2, 0, 120, 1},
      {2, Qt::Key_Home, 0, 0},
      {4, Qt::Key_Home, 0, 3},
      {3, Qt::Key_Home, 0, 3},
      {1, 0, -60, 1},
  };
  for (const bool inZoom : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(::testing::Message() << "from " << row.from << ", key " << row.key << ", wheel "
                                        << row.wheel << (inZoom ? ", zoom window" : ""));
      WindowFixture f;
      f.Open(f.Doc("two.lvx", TwoDocuments()));
      for (int k = 0; k < row.from; ++k) f.document().NextPage();
      ASSERT_EQ(ShownMarker(f.document()), row.from);
      QWidget& window = inZoom ? static_cast<QWidget&>(f.zoom(ZoomHalf::kUpper)) : f.page();
      Activate(window);
      if (row.key != 0) {
        QTest::keyClick(&window, static_cast<Qt::Key>(row.key));
      } else {
        Wheel(window, row.wheel);
      }
      EXPECT_EQ(ShownMarker(f.document()), row.to);
      // Forward again from there reads on as if paged to it forward.
      f.document().NextPage();
      EXPECT_EQ(ShownMarker(f.document()), (row.to + 1) % 5);
    }
  }
}

TEST(PagingKeys, PageWindowKeysObeyTheBusyGuardZoomKeysDoNot) {
  WindowFixture f;
  f.Open(f.Doc("two.lvx", TwoDocuments()));
  f.document().NextPage();
  f.page().Busy = 1;
  Activate(f.page());
  for (const auto key : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Right}) {
    QTest::keyClick(&f.page(), key);
    EXPECT_EQ(ShownMarker(f.document()), 1) << key;
  }
  Wheel(f.page(), -120);
  EXPECT_EQ(ShownMarker(f.document()), 1);
  Activate(f.zoom(ZoomHalf::kLower));
  QTest::keyClick(&f.zoom(ZoomHalf::kLower), Qt::Key_PageDown);
  EXPECT_EQ(ShownMarker(f.document()), 2);
  QTest::keyClick(&f.zoom(ZoomHalf::kLower), Qt::Key_Home);
  EXPECT_EQ(ShownMarker(f.document()), 0);
}

TEST(PagingKeys, KeysRunInTheButtonFrameAndKeepTheFocus) {
  WindowFixture f;
  f.Open(f.Doc("two.lvx", TwoDocuments()));
  Activate(f.page());
  std::vector<bool> lockedDuring;
  QObject::connect(&f.document(), &ViewerDocument::PageDrawn,
                   [&] { lockedDuring.push_back(!f.page().Button("Command2")->isEnabled()); });
  QPushButton* esci = f.page().Button("Command1");
  ASSERT_TRUE(esci->hasFocus());
  QTest::keyClick(&f.page(), Qt::Key_PageDown);
  QTest::keyClick(&f.page(), Qt::Key_PageUp);
  EXPECT_EQ(lockedDuring, (std::vector<bool>{true, true}));
  EXPECT_TRUE(esci->hasFocus());
  EXPECT_EQ(f.page().Busy, 0);
}

TEST(PagingKeys, SpaceAndEnterPressTheFocusedButtonAgainAndAgain) {
  for (const auto key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
    SCOPED_TRACE(key);
    WindowFixture f;
    f.Open(f.Doc("two.lvx", TwoDocuments()));
    Activate(f.page());
    // Tab from "&Esci" to "&Pagina avanti", then the same key three times.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.page().Button("Command2"));
    for (int k = 1; k <= 3; ++k) {
      QTest::keyClick(QApplication::focusWidget(), key);
      EXPECT_EQ(ShownMarker(f.document()), k) << k;
      EXPECT_EQ(QApplication::focusWidget(), f.page().Button("Command2")) << k;
    }
  }
}

TEST(PagingKeys, ClickedButtonKeepsTheFocusForTheNextSpace) {
  WindowFixture f;
  f.Open(f.Doc("two.lvx", TwoDocuments()));
  Activate(f.page());
  WindowFixture::Click(f.page(), "Command2");
  ASSERT_EQ(ShownMarker(f.document()), 1);
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(ShownMarker(f.document()), 2);
}

TEST(PagingKeys, EscapeLeavesAZoomWindowAsAClickOnItsPictureDoes) {
  WindowFixture f;
  f.Open(f.Doc("two.lvx", TwoDocuments()));
  f.ClickPage();
  ZoomWindow& upper = f.zoom(ZoomHalf::kUpper);
  ASSERT_TRUE(upper.isVisible());
  Activate(upper);
  QTest::keyClick(&upper, Qt::Key_Escape);
  EXPECT_FALSE(upper.isVisible());
  EXPECT_TRUE(f.page().isVisible());
  EXPECT_EQ(ShownMarker(f.document()), 0);
}

}  // namespace
}  // namespace lvx
