// SPDX-License-Identifier: GPL-3.0-or-later
// What trying the viewer on a desktop turned up: termination signals during
// an action, captions and message texts that Qt would otherwise interpret.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <filesystem>

#include "captions.h"
#include "message_boxes.h"
#include "termination.h"
#include "window_fixture.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::FilledBox;
using testing::WindowFixture;

const std::string kDoc = "*EMAIL /T:<b>Vendite</b>\r\n*FAX /T:<i>Rossi</i> & Figli\r\n" +
                         FilledBox(10, 10, 5, 5) + "*PAGE\r\n" + FilledBox(50, 10, 5, 5);

// The viewer's windows with every optional button shown.
struct AllButtons : WindowFixture {
  AllButtons() {
    Settings("ROLLDIR=0\r\n");
    Open(Doc("a.lvx", kDoc), false);
    session->Settings.FaxEnabled = session->Settings.PdfEnabled = 1;
    StartWindows();
  }
};

TEST(Termination, IdleViewerEndsAtOnce) {
  AllButtons f;
  f.dir.Write("app/lvxview.flg", "x");
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  f.page().RequestExit();
  EXPECT_EQ(exits.count(), 1);
  EXPECT_FALSE(f.document().reader().IsOpen());
  EXPECT_FALSE(fs::exists(f.app + "/lvxview.flg"));
}

TEST(Termination, DuringAMessageEndsAsSoonAsItIsOver) {
  // "Info Ms&g" (Command10) and the fax question (Command9, which then
  // starts nothing whatever the answer).
  for (const char* button : {"Command10", "Command9"}) {
    SCOPED_TRACE(button);
    AllButtons f;
    f.FakeProgram("lvxfax");
    QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
    int exitsWhileShown = -1;
    f.whileAsked = [&] {
      f.page().RequestExit();
      exitsWhileShown = static_cast<int>(exits.count());
    };
    WindowFixture::Click(f.page(), button);
    EXPECT_EQ(exitsWhileShown, 0);
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(f.Recorded("lvxfax"), std::nullopt);
  }
}

TEST(Termination, AnOpenMessageBoxIsCancelled) {
  AllButtons f;
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  int result = -1;
  f.whileAsked = [&] {
    QMessageBox box(QMessageBox::NoIcon, "lvxview", "text", QMessageBox::Ok, &f.page());
    QTimer::singleShot(50, &f.page(), [&] { f.page().RequestExit(); });
    result = box.exec();
  };
  WindowFixture::Click(f.page(), "Command10");
  EXPECT_NE(result, QMessageBox::Ok);
  EXPECT_EQ(exits.count(), 1);
}

TEST(Termination, DuringACompanionsRunEndsWhenTheCompanionHasEnded) {
  AllButtons f;
  f.FakeProgram("lvxpdf", "sleep 1");
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  int exitsDuring = -1;
  QTimer::singleShot(300, &f.page(), [&] {
    f.page().RequestExit();
    exitsDuring = static_cast<int>(exits.count());
  });
  WindowFixture::Click(f.page(), "Command6");
  EXPECT_EQ(exitsDuring, 0);
  EXPECT_EQ(exits.count(), 1);
  EXPECT_TRUE(f.Recorded("lvxpdf").has_value());
  EXPECT_FALSE(fs::exists(f.app + "/lvxview.flg"));
}

TEST(Termination, SignalReachesTheCallbackFromANestedLoop) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    TerminationSignals termination;
    int calls = 0;
    termination.CallOnSignal([&] { ++calls; });
    ::raise(signal);
    EXPECT_TRUE(termination.Requested());
    // A nested loop, as a message box or a companion's wait runs.
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 2000));
  }
}

TEST(Captions, PlaceholderOfTheModifiedMarkShowsAsWritten) {
  const struct {
    const char* written;
  } rows[] = {{"rich[*]doc.lvx"}, {"[*]"}, {"a[*][*]b"}, {"[*"}, {"x[*]y[*]z"}, {"plain"}};
  QWidget window;
  for (const auto& row : rows) {
    window.setWindowTitle(LiteralWindowTitle(QString::fromUtf8(row.written)));
    window.show();
    ASSERT_NE(window.windowHandle(), nullptr);
    EXPECT_EQ(window.windowHandle()->title(), QString::fromUtf8(row.written));
  }
}

TEST(Captions, AllThreeWindowsShowTheBracketedStarAsWritten) {
  WindowFixture f;
  f.Open(f.Doc("rich[*]doc.lvx", "*INFO /T:Bozza [*] non salvata\r\n" + FilledBox(10, 10, 5, 5)));
  f.MoveTo(20, 20);
  f.ClickPage();
  f.MoveTo(20, 100);
  f.ClickPage();
  const struct {
    QWidget* window;
    const char* caption;
  } rows[] = {
      {&f.page(), "rich[*]doc.lvx     Bozza [*] non salvata"},
      {&f.zoom(ZoomHalf::kUpper), "zoom sopra rich[*]doc.lvx"},
      {&f.zoom(ZoomHalf::kLower), "zoom sotto rich[*]doc.lvx"},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(row.window->isVisible()) << row.caption;
    EXPECT_EQ(row.window->windowHandle()->title(), QString::fromUtf8(row.caption));
  }
}

// The message box that is up while `show` runs, found and closed.
QMessageBox* OpenBox(const std::function<void()>& show, QString& text, Qt::TextFormat& format) {
  QMessageBox* found = nullptr;
  QTimer::singleShot(0, [&] {
    found = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (found == nullptr) return;
    text = found->text();
    format = found->textFormat();
    found->reject();
  });
  show();
  return found;
}

TEST(MessageBoxes, TextsArePlainTextWhateverTheyHold) {
  const QString texts[] = {
      QStringLiteral("E-mail to : <b>Vendite</b>\n\n\nFax to : Rossi"),
      QStringLiteral("Invio fax a <i>Rossi</i> & Figli\nal numero 02"),
      QStringLiteral("<html><body>a</body></html>"),
  };
  for (const QString& text : texts) {
    for (const bool question : {false, true}) {
      QString shown;
      Qt::TextFormat format = Qt::AutoText;
      QWidget parent;
      const QMessageBox* box = OpenBox(
          [&] {
            if (question) {
              AskOkCancel(&parent, "Invia fax", text);
            } else {
              ShowMessage(&parent, "lvxview", text);
            }
          },
          shown, format);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(format, Qt::PlainText) << text.toStdString();
      EXPECT_EQ(shown, text);
    }
  }
}

}  // namespace
}  // namespace lvx
