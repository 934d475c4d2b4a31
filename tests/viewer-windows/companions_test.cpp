// SPDX-License-Identifier: GPL-3.0-or-later
// The page window's companion buttons, with stand-in programs in the
// program folder that record their arguments.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "window_fixture.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::FilledBox;
using testing::WindowFixture;
using Arguments = std::vector<std::string>;

// A document of two pages whose name the shell would take apart.
constexpr const char* kHostileName = "a b; touch pwned.lvx";

struct Companions : WindowFixture {
  std::string doc;

  explicit Companions(const char* name = kHostileName, const std::string& workFolder = {}) {
    if (!workFolder.empty()) work = workFolder;
    Settings("ROLLDIR=0\r\n");
    doc = Doc(name, "*EMAIL /T:vendite@example.com\r\n*FAX /T:Rossi\r\n*FAX /N:02 123\r\n" +
                        FilledBox(10, 10, 5, 5) + "*PAGE\r\n" + FilledBox(50, 10, 5, 5));
    Open(doc, false);
    // The platform here offers neither fax nor PDF printer: as if it did.
    session->Settings.FaxEnabled = session->Settings.PdfEnabled = 1;
    StartWindows();
  }
  std::string Flag() const { return work + "/lvxview.flg"; }
  std::string Script() const { return work + "/scract.sh"; }
  bool NoPwnedFile() const {
    for (const std::string& folder : {app, docs, fs::current_path().string()}) {
      if (fs::exists(folder + "/pwned.lvx")) return false;
    }
    return true;
  }
};

// Runs `check` once the click that starts a companion waits for it.
void DuringTheWait(int afterMs, std::function<void()> check) {
  QTimer::singleShot(afterMs, std::move(check));
}

TEST(Companions, PdfCompanionRunsWhileTheWindowsStayUsable) {
  Companions f;
  f.FakeProgram("lvxpdf", "sleep 1");
  QSignalSpy exits(&f.page(), &PageWindow::ExitRequested);
  f.ClickPage();  // the upper zoom window
  ZoomWindow& upper = f.zoom(ZoomHalf::kUpper);
  bool checked = false;
  DuringTheWait(500, [&] {
    checked = true;
    EXPECT_TRUE(fs::exists(f.Flag()));
    EXPECT_TRUE(fs::exists(f.Script()));
    EXPECT_EQ(f.page().Busy, 1);
    EXPECT_FALSE(f.page().Button("Command1")->isEnabled());
    EXPECT_EQ(f.page().cursor().shape(), Qt::WaitCursor);
    // The zoom window pages forward; the page window ignores its exit, its
    // page click and its title bar.
    WindowFixture::Click(upper, "Command1");
    EXPECT_EQ(f.document().reader().PageNumber, 2);
    f.page().close();
    f.MoveTo(20, 100);
    f.ClickPage();
    EXPECT_FALSE(f.zoom(ZoomHalf::kLower).isVisible());
  });
  WindowFixture::Click(f.page(), "Command6");
  EXPECT_TRUE(checked);
  EXPECT_EQ(exits.count(), 0);
  EXPECT_TRUE(f.page().isVisible());
  EXPECT_EQ(f.Recorded("lvxpdf"), Arguments{f.doc});
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_FALSE(fs::exists(f.Script()));
  EXPECT_TRUE(f.NoPwnedFile());
  EXPECT_EQ(f.page().Busy, 0);
  EXPECT_TRUE(f.page().Button("Command1")->isEnabled());
  EXPECT_TRUE(f.page().Button("Command6")->isVisible());
  // After the wait the exit works again.
  WindowFixture::Click(f.page(), "Command1");
  EXPECT_EQ(exits.count(), 1);
}

TEST(Companions, FlagFileHoldsDateTimeAndProgramName) {
  Companions f;
  f.FakeProgram("lvxmail", "cp \"$(dirname \"$0\")/lvxview.flg\" \"$0.flag\"");
  WindowFixture::Click(f.page(), "Command8");
  const std::string line = testing::ReadAll(f.app + "/lvxmail.flag");
  // MM-DD-YYYY HH:MM:SS lvxview
  ASSERT_EQ(line.size(), 28U) << line;
  EXPECT_EQ(line[2], '-');
  EXPECT_EQ(line[5], '-');
  EXPECT_EQ(line[13], ':');
  EXPECT_EQ(line.substr(19), " lvxview\n");
}

TEST(Companions, ForASharedProgramFolderTheRunsFilesGoToTheUsersFolder) {
  const testing::TempDir runtime;
  Companions f(kHostileName, runtime.path() + "/lvx");
  f.FakeProgram("lvxmail", "cp '" + f.Flag() + "' \"$0.flag\"; cp '" + f.Script() + "' \"$0.sh\"");
  WindowFixture::Click(f.page(), "Command8");
  EXPECT_EQ(f.Recorded("lvxmail"), (Arguments{f.doc, "/T:2"}));
  // Both were there while the companion ran, and are gone after.
  EXPECT_EQ(testing::ReadAll(f.app + "/lvxmail.flag").substr(19), " lvxview\n");
  EXPECT_NE(testing::ReadAll(f.app + "/lvxmail.sh").find("rm -f -- '" + f.Flag() + "'"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_FALSE(fs::exists(f.Script()));
  EXPECT_EQ(fs::status(f.work).permissions(), fs::perms::owner_all);
  for (const char* name : {"lvxview.flg", "scract.sh"}) {
    EXPECT_FALSE(fs::exists(f.app + "/" + name)) << name;
  }
}

TEST(Companions, MailCompanionGetsTheDocumentAndSlashT2) {
  Companions f("it's $(x) `y` \\ *.lvx");
  f.FakeProgram("lvxmail");
  WindowFixture::Click(f.page(), "Command8");
  EXPECT_EQ(f.Recorded("lvxmail"), (Arguments{f.doc, "/T:2"}));
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_FALSE(fs::exists(f.Script()));
}

TEST(Companions, MissingCompanionEndsTheWaitAtTheNextLook) {
  Companions f;
  QElapsedTimer clock;
  clock.start();
  WindowFixture::Click(f.page(), "Command6");
  // One pause of 2 seconds, with room for a slow machine.
  EXPECT_LT(clock.elapsed(), 6000);
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_FALSE(fs::exists(f.Script()));
  EXPECT_EQ(f.page().Busy, 0);
}

TEST(Companions, UnwritableProgramFolderEndsTheWaitAtOnce) {
  Companions f;
  fs::remove_all(f.app);
  QElapsedTimer clock;
  clock.start();
  WindowFixture::Click(f.page(), "Command6");
  // The first look, before any pause.
  EXPECT_LT(clock.elapsed(), 1500);
  EXPECT_EQ(f.page().Busy, 0);
}

TEST(Companions, FaxAsksFirstAndAnnullaStartsNothing) {
  Companions f;
  f.FakeProgram("lvxfax");
  f.answer = false;
  WindowFixture::Click(f.page(), "Command9");
  EXPECT_EQ(f.asked, (QStringList{"Invia fax", "Invio fax a Rossi\nal numero 02 123"}));
  EXPECT_EQ(f.busyWhenAsked, std::vector<int>{1});
  EXPECT_EQ(f.Recorded("lvxfax"), std::nullopt);
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_EQ(f.page().Busy, 0);
  EXPECT_TRUE(f.page().Button("Command9")->isEnabled());

  f.answer = true;
  WindowFixture::Click(f.page(), "Command9");
  EXPECT_EQ(f.Recorded("lvxfax"), Arguments{f.doc});
  EXPECT_FALSE(fs::exists(f.Flag()));
  EXPECT_EQ(f.page().Busy, 0);
}

TEST(Companions, InfoMessageShowsTheHeaderUnderTheProgramsTitle) {
  Companions f;
  WindowFixture::Click(f.page(), "Command10");
  ASSERT_EQ(f.shown.size(), 2);
  EXPECT_EQ(f.shown[0], "lvxview");
  EXPECT_EQ(f.shown[1],
            "E-mail to : vendite@example.com\n\n\nFax to : Rossi\n       nr.: 02 123\n\n");
  // Busy while the message shows, without locking the buttons.
  EXPECT_EQ(f.busyWhenAsked, std::vector<int>{1});
  EXPECT_EQ(f.page().Busy, 0);
  f.page().Busy = 1;
  WindowFixture::Click(f.page(), "Command10");
  EXPECT_EQ(f.shown.size(), 2);
}

TEST(Companions, PrinterAndPickerStartWithoutWaiting) {
  Companions f;
  // Each stand-in runs until the test lets it end.
  const std::string hold =
      "i=0; while [ ! -e \"$0.go\" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i+1)); done";
  f.FakeProgram("lvxprint", hold);
  f.FakeProgram("lvxpick", hold);
  WindowFixture::Click(f.page(), "Command5");
  WindowFixture::Click(f.page(), "Command4");
  EXPECT_EQ(f.page().Busy, 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.Recorded("lvxprint") && f.Recorded("lvxpick"); }));
  EXPECT_EQ(f.Recorded("lvxprint"), Arguments{f.doc});
  EXPECT_EQ(f.Recorded("lvxpick"), Arguments{});
  f.dir.Write("app/lvxprint.go", "");
  f.dir.Write("app/lvxpick.go", "");
}

TEST(Companions, MissingProgramsAreIgnored) {
  Companions f;
  for (const char* button : {"Command3", "Command4", "Command5"}) {
    WindowFixture::Click(f.page(), button);
    EXPECT_EQ(f.page().Busy, 0) << button;
    EXPECT_TRUE(f.page().Button(button)->isEnabled()) << button;
  }
}

TEST(Companions, EditorFromTheDesktopDefaultOrVisualInATerminal) {
  for (const bool desktop : {true, false}) {
    Companions f;
    const std::string terminal = f.FakeProgram("terminal");
    QStringList desktopFiles;
    f.editor.LaunchDesktopDefault = [&](const QString& file) {
      desktopFiles << file;
      return desktop;
    };
    f.editor.Visual = QStringLiteral("vi -R");
    f.editor.Terminal = QString::fromStdString(terminal);
    f.windows.reset();
    f.StartWindows();
    WindowFixture::Click(f.page(), "Command3");
    EXPECT_EQ(desktopFiles, QStringList{QFile::decodeName(QByteArray::fromStdString(f.doc))});
    if (desktop) {
      QTest::qWait(200);
      EXPECT_EQ(f.Recorded("terminal"), std::nullopt);
    } else {
      EXPECT_TRUE(QTest::qWaitFor([&] { return f.Recorded("terminal").has_value(); }));
      EXPECT_EQ(f.Recorded("terminal"), (Arguments{"-e", "vi", "-R", f.doc}));
    }
    EXPECT_EQ(f.page().Busy, 0);
  }
}

TEST(Companions, HiddenButtonsAccessKeysStartNothing) {
  WindowFixture f;
  f.Settings("ROLLDIR=0\r\n");
  f.FakeProgram("lvxpdf");
  f.Open(f.Doc("a.lvx", "x\r\n"));
  ASSERT_FALSE(f.page().Button("Command6")->isVisible());
  f.page().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f.page()));
  QTest::keyClick(&f.page(), Qt::Key_D, Qt::AltModifier);
  QTest::qWait(400);
  EXPECT_EQ(f.Recorded("lvxpdf"), std::nullopt);
  EXPECT_FALSE(fs::exists(f.app + "/lvxview.flg"));
}

TEST(Companions, CtrlSSavesAsPdfWhetherOrNotTheButtonShows) {
  for (const bool shown : {false, true}) {
    WindowFixture f;
    f.Settings("ROLLDIR=0\r\n");
    f.FakeProgram("lvxpdf");
    const std::string doc = f.Doc("a.lvx", "x\r\n");
    f.Open(doc, false);
    f.session->Settings.PdfEnabled = shown ? 1 : 0;
    f.StartWindows();
    ASSERT_EQ(f.page().Button("Command6")->isVisible(), shown);
    f.page().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.page()));
    QTest::keyClick(&f.page(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(f.Recorded("lvxpdf"), (Arguments{doc})) << shown;
    EXPECT_FALSE(fs::exists(f.app + "/lvxview.flg"));
    EXPECT_FALSE(fs::exists(f.app + "/scract.sh"));
    EXPECT_EQ(f.page().Busy, 0);
    EXPECT_EQ(f.page().Button("Command6")->isVisible(), shown) << "Ctrl+S shows no button";
  }
}

TEST(Companions, CtrlSDoesNothingWhileACompanionRuns) {
  Companions f;
  f.FakeProgram("lvxmail", "sleep 1");
  f.FakeProgram("lvxpdf");
  bool pressed = false;
  DuringTheWait(300, [&] {
    QTest::keyClick(&f.page(), Qt::Key_S, Qt::ControlModifier);
    pressed = true;
  });
  WindowFixture::Click(f.page(), "Command8");
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(f.Recorded("lvxmail"));
  EXPECT_EQ(f.Recorded("lvxpdf"), std::nullopt);
}

}  // namespace
}  // namespace lvx
