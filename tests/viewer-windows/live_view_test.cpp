// SPDX-License-Identifier: GPL-3.0-or-later
// The windows follow their document on disk, and take documents handed
// over by another start or dropped on the page window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDropEvent>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>

#include "handover.h"
#include "window_fixture.h"

namespace lvx {
namespace {

using testing::FilledBox;
using testing::Marker;
using testing::ShownMarker;
using testing::WindowFixture;

// A version of a document: an information text and one page per marker.
std::string Version(const std::string& info, std::initializer_list<int> markers) {
  std::string text = "*INFO /T:" + info + "\r\n";
  bool first = true;
  for (const int k : markers) {
    if (!first) text += "*PAGE\r\n";
    first = false;
    text += Marker(k);
  }
  return text;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

void Replace(const std::string& path, const std::string& text) {
  WriteFile(path + ".part", text);
  std::rename((path + ".part").c_str(), path.c_str());
}

// Settles well within the second a change must be noticed in.
constexpr int kNoticeMs = 1000;

struct Live : WindowFixture {
  std::string doc;
  // With `ini`, the settings file holds it.
  explicit Live(const char* ini = nullptr) {
    if (ini != nullptr) Settings(ini);
    doc = Doc("live.lvx", Version("Uno", {0, 1, 2}));
    Open(doc);
  }
  // Pages to the marker's page and opens the upper zoom window.
  void PageTo(int marker) {
    while (ShownMarker(document()) != marker) Click(page(), "Command2");
    MoveTo(20, 20);
    ClickPage();
  }
  bool WaitShown(int marker, int timeoutMs = kNoticeMs) {
    return QTest::qWaitFor([&] { return ShownMarker(document()) == marker; }, timeoutMs);
  }
};

TEST(LiveView, TheShownPageFollowsAChangedDocument) {
  struct Row {
    const char* name;
    std::function<void(const std::string& doc)> change;
    // The marker of the page shown after the change.
    int expected;
  };
  const Row rows[] = {
      {"rewritten in place",
       [](const std::string& doc) {
         WriteFile(doc, Version("Due", {3, 4, 5}));
       },
       4},
      {"replaced by a rename",
       [](const std::string& doc) {
         Replace(doc, Version("Due", {3, 4, 5}));
       },
       4},
      {"replaced by a version with fewer pages",
       [](const std::string& doc) { Replace(doc, Version("Due", {3})); }, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Live f;
    f.PageTo(1);
    ASSERT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());
    QElapsedTimer noticed;
    noticed.start();
    row.change(f.doc);
    EXPECT_TRUE(f.WaitShown(row.expected));
    EXPECT_LT(noticed.elapsed(), kNoticeMs);
    RecordProperty(std::string("noticed_ms ") + row.name, static_cast<int>(noticed.elapsed()));
    EXPECT_EQ(f.page().windowTitle(), "live.lvx     Due");
    EXPECT_TRUE(f.zoom(ZoomHalf::kUpper).isVisible());
    // Paging goes on in the new version.
    WindowFixture::Click(f.page(), "Command2");
    EXPECT_EQ(ShownMarker(f.document()), row.expected == 4 ? 5 : 3);
  }
}

TEST(LiveView, ADeletedDocumentKeepsItsPageUntilItComesBack) {
  Live f;
  f.PageTo(1);
  ASSERT_EQ(::unlink(f.doc.c_str()), 0);
  QTest::qWait(DocumentWatch::kSettleMs * 3);
  EXPECT_EQ(ShownMarker(f.document()), 1);
  WindowFixture::Click(f.page(), "Command2");
  WindowFixture::Click(f.zoom(ZoomHalf::kUpper), "Command1");
  EXPECT_EQ(ShownMarker(f.document()), 1);
  EXPECT_EQ(f.page().windowTitle(), "live.lvx     Uno");

  f.Doc("live.lvx", Version("Tre", {5, 6}));
  EXPECT_TRUE(f.WaitShown(6));
  EXPECT_EQ(f.page().windowTitle(), "live.lvx     Tre");
}

TEST(LiveView, AnEmptyFileMidRewriteIsNeitherShownNorDeleted) {
  Live f;
  f.PageTo(1);
  WriteFile(f.doc, "");
  QTest::qWait(DocumentWatch::kSettleMs * 3);
  EXPECT_EQ(ShownMarker(f.document()), 1);
  EXPECT_TRUE(std::filesystem::exists(f.doc));
  WriteFile(f.doc, Version("Due", {3, 4}));
  EXPECT_TRUE(f.WaitShown(4));
}

TEST(LiveView, WhatArrivesWhileBusyWaitsUntilTheWindowIsIdle) {
  Live f;
  f.PageTo(1);
  const std::string other = f.Doc("other.lvx", Version("Altro", {6}));
  f.page().Busy = 1;
  Replace(f.doc, Version("Due", {3, 4}));
  QTest::qWait(DocumentWatch::kSettleMs * 3);
  EXPECT_EQ(ShownMarker(f.document()), 1);
  f.windows->live().HandOver(other);
  EXPECT_EQ(ShownMarker(f.document()), 1);
  EXPECT_EQ(f.session->DocFileName, "live.lvx");

  f.page().Busy = 0;
  emit f.page().BecameIdle();
  // The document handed over wins over the change of the one it replaces.
  EXPECT_TRUE(f.WaitShown(6));
  EXPECT_EQ(f.page().windowTitle(), "other.lvx     Altro");
}

TEST(LiveView, AChangeDuringACompanionRunIsShownWhenItEnds) {
  Live f("ROLLDIR=0\r\n");
  f.PageTo(1);
  f.FakeProgram("lvxmail", "while [ ! -e \"$0.go\" ]; do sleep 0.05; done");
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.Recorded("lvxmail").has_value(); }, 5000));
    Replace(f.doc, Version("Due", {3, 4}));
    QTest::qWait(DocumentWatch::kSettleMs * 3);
    EXPECT_EQ(ShownMarker(f.document()), 1);
    EXPECT_EQ(f.page().Busy, 1);
    f.dir.Write("app/lvxmail.go", "");
  });
  WindowFixture::Click(f.page(), "Command8");
  EXPECT_TRUE(f.WaitShown(4));
  EXPECT_EQ(f.page().windowTitle(), "live.lvx     Due");
}

TEST(LiveView, AHandedOverDocumentIsShownAsAStepWouldShowIt) {
  Live f;
  f.PageTo(1);
  const std::string other = f.Doc("other.lvx", Version("Altro", {6, 7}));
  f.windows->live().HandOver(other);
  EXPECT_EQ(ShownMarker(f.document()), 6);
  EXPECT_EQ(f.page().windowTitle(), "other.lvx     Altro");
  EXPECT_EQ(f.zoom(ZoomHalf::kUpper).windowTitle(), "zoom sopra other.lvx");
  EXPECT_FALSE(f.zoom(ZoomHalf::kUpper).isVisible());
  EXPECT_EQ(f.document().reader().PageNumber, 1);
  // The new document is the one watched now.
  Replace(other, Version("Nuovo", {2}));
  EXPECT_TRUE(f.WaitShown(2));

  // Nothing usable: the document shown stays.
  for (const std::string& path : {f.docs + "/missing.lvx", f.Doc("empty.lvx", ""), f.docs}) {
    f.windows->live().HandOver(path);
    EXPECT_EQ(ShownMarker(f.document()), 2) << path;
    EXPECT_EQ(f.session->DocFileName, "other.lvx") << path;
  }
}

TEST(LiveView, AHandedOverDocumentBringsItsFolderList) {
  WindowFixture f;
  f.Settings("ROLLDIR=1\r\n");
  f.Open(f.Doc("a.lvx", Version("A", {0})));
  std::filesystem::create_directories(f.docs + "/sub");
  const std::string x = f.Doc("sub/X.lvx", Version("X", {1}));
  const std::string y = f.Doc("sub/y.lvx", Version("Y", {2}));
  f.windows->live().HandOver(y);
  EXPECT_EQ(f.session->DocCount, 2);
  EXPECT_EQ(f.session->DocIndex, 2);
  WindowFixture::Click(f.page(), "Command12");
  EXPECT_EQ(f.session->DocFileName, "x.lvx");
  EXPECT_EQ(ShownMarker(f.document()), 1);
  // The list's lower-case name is watched as the file on disk is named.
  WriteFile(x, Version("X2", {3}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ShownMarker(f.document()) == 3; }, kNoticeMs));
}

TEST(LiveView, ASecondStartHandsItsDocumentOverTheSocket) {
  Live f;
  HandoverServer server;
  const QString socket = QString::fromStdString(f.dir.path() + "/lvxview.sock");
  // A socket left by a viewer that has gone is replaced.
  WriteFile(socket.toStdString(), "");
  ASSERT_TRUE(server.Listen(socket));
  QObject::connect(&server, &HandoverServer::DocumentReceived, &f.windows->live(),
                   &LiveView::HandOver);
  const std::string other = f.Doc("other.lvx", Version("Altro", {6}));
  auto handed =
      std::async(std::launch::async, [&] { return HandDocumentOver(socket, other, 5000); });
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 5000));
  EXPECT_TRUE(handed.get());
  EXPECT_TRUE(f.WaitShown(6));

  // Nobody listening, or a message that never ends: no hand-over.
  EXPECT_FALSE(HandDocumentOver(QString::fromStdString(f.dir.path() + "/none.sock"), other, 500));
  QLocalSocket flood;
  flood.connectToServer(socket);
  ASSERT_TRUE(flood.waitForConnected(1000));
  flood.write(QByteArray(HandoverServer::kMaxMessageBytes + 10, 'x'));
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return flood.state() == QLocalSocket::UnconnectedState; }, 5000));
  EXPECT_EQ(f.session->DocFileName, "other.lvx");
}

TEST(LiveView, DroppedDocuments) {
  const auto urls = [](std::initializer_list<const char*> texts) {
    auto* data = new QMimeData;
    QList<QUrl> list;
    for (const char* text : texts) list << QUrl(QString::fromUtf8(text));
    data->setUrls(list);
    return data;
  };
  struct Row {
    std::initializer_list<const char*> urls;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {{"file:///d/a.lvx"}, "/d/a.lvx"},
      {{"file:///d/A.LVX"}, "/d/A.LVX"},
      {{"file:///d/notes.txt", "file:///d/b%20c.lvx"}, "/d/b c.lvx"},
      {{"https://example.com/a.lvx"}, std::nullopt},
      {{"file:///d/a.lvx.txt"}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const Row& row : rows) {
    std::unique_ptr<QMimeData> data(urls(row.urls));
    EXPECT_EQ(LiveView::DroppedDocument(data.get()), row.expected);
  }

  Live f;
  const std::string other = f.Doc("dropped.lvx", Version("Giu", {7}));
  std::unique_ptr<QMimeData> data(urls({}));
  data->setUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
  // Outside a drag of the windowing system Qt routes no drop: the events
  // go straight to the page window's filter.
  QObject& filter = f.windows->live();
  EXPECT_TRUE(f.page().acceptDrops());
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  enter.ignore();
  filter.eventFilter(&f.page(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  drop.ignore();
  filter.eventFilter(&f.page(), &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(ShownMarker(f.document()), 7);
  EXPECT_EQ(f.session->DocFileName, "dropped.lvx");
}

}  // namespace
}  // namespace lvx
