// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the real lvxview from a program folder of its own, without a
// display (its windows go to the offscreen platform), and looks at what its
// start-up leaves behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <filesystem>
#include <optional>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 30000;
// Time a viewer gets to settle before it is asked to end.
constexpr int kSettleMs = 1000;

// A program folder "app" holding a copy of lvxview, a document folder
// "docs", and a runtime folder for the lock, in one temporary folder.
struct ProgramFolder {
  lvx::testing::TempDir dir;
  std::string app = dir.path() + "/app";
  std::string docs = dir.path() + "/docs";
  std::string runtime = dir.path() + "/runtime";
  std::string binary = app + "/lvxview";

  ProgramFolder() {
    fs::create_directories(app);
    fs::create_directories(docs);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    fs::copy_file(LVXVIEW_BINARY, binary);
  }

  std::string Doc(const std::string& name, const std::string& text) const {
    return dir.Write("docs/" + name, text);
  }
  std::string LockPath() const { return runtime + "/lvxview.lock"; }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // No display: the windows go to the offscreen platform.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    env.insert("CUPS_SERVER", QString::fromStdString(dir.path() + "/no-cups.sock"));
    return env;
  }

  // Runs `program` (lvxview by default) in the document folder; its exit
  // status, or -1 when it crashed or did not end. A viewer that shows its
  // document runs on: it is asked to end after a while and then ends with
  // status 0, whether the request came during its start-up or later.
  int Run(const std::vector<std::string>& arguments, const std::string& program = {}) const {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setWorkingDirectory(QString::fromStdString(docs));
    QStringList list;
    for (const auto& argument : arguments) list << QString::fromStdString(argument);
    process.start(QString::fromStdString(program.empty() ? binary : program), list);
    if (!process.waitForFinished(kSettleMs)) process.terminate();
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(kWaitMs)) {
      process.kill();
      process.waitForFinished();
      return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  // Runs lvxview, which is to end by itself: its status and its standard
  // error.
  std::pair<int, std::string> RunToEnd(const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setWorkingDirectory(QString::fromStdString(docs));
    process.start(QString::fromStdString(binary), arguments);
    if (!process.waitForFinished(kWaitMs)) {
      process.kill();
      process.waitForFinished();
      return {-1, {}};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError().toStdString()};
  }
};

// A process that holds the viewer's lock, as a running viewer does.
class LockHolder {
 public:
  explicit LockHolder(const ProgramFolder& folder) {
    process_.setProcessEnvironment(folder.Environment());
    process_.start(LOCK_HOLDER_BINARY, {QString::fromStdString(folder.LockPath())});
    while (process_.state() != QProcess::NotRunning && !process_.canReadLine()) {
      process_.waitForReadyRead(kWaitMs);
    }
    locked_ = process_.readLine().trimmed() == "locked";
  }
  ~LockHolder() {
    process_.kill();
    process_.waitForFinished();
  }
  bool Locked() const { return locked_; }
  bool Running() const { return process_.state() == QProcess::Running; }
  // Lets go of the lock the normal way.
  void Release() {
    process_.closeWriteChannel();
    process_.waitForFinished(kWaitMs);
  }
  // Dies without letting go: the lock file stays behind.
  void Kill() {
    process_.kill();
    process_.waitForFinished(kWaitMs);
  }

 private:
  QProcess process_;
  bool locked_ = false;
};

constexpr int kShown = 0;
constexpr int kNoDocument = 1;
constexpr int kOtherInstance = 2;

TEST(LvxviewStartUp, MissingOrUnnamedDocumentEndsWithoutAWindow) {
  ProgramFolder folder;
  const std::string flag = folder.dir.Write("app/lvxview.flg", "lvxview");
  EXPECT_EQ(folder.Run({folder.docs + "/missing.lvx"}), kNoDocument);
  EXPECT_EQ(folder.Run({}), kNoDocument);
  EXPECT_EQ(folder.Run({"\"\""}), kNoDocument);
  // The clean-up comes after the document check.
  EXPECT_TRUE(fs::exists(flag));
}

TEST(LvxviewStartUp, EmptyDocumentIsDeletedAndEndsWithoutAWindow) {
  ProgramFolder folder;
  const std::string empty = folder.Doc("empty.lvx", "");
  EXPECT_EQ(folder.Run({empty}), kNoDocument);
  EXPECT_FALSE(fs::exists(empty));
}

TEST(LvxviewStartUp, LeftoversInTheProgramFolderAreRemoved) {
  ProgramFolder folder;
  folder.dir.Write("app/lvxview.flg", "lvxview");
  folder.dir.Write("app/scract.sh", "");
  folder.dir.Write("app/scract.bat", "del lvxview.flg\r\n");
  // An empty settings file is deleted when read: proof it was looked for here.
  folder.dir.Write("app/lvxview.ini", "");
  const std::string doc = folder.Doc("a.lvx", "*TEXT /X:10 /Y:10 /T:Hello\r\n");
  EXPECT_EQ(folder.Run({doc}), kShown);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder.app)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"lvxview"});
  EXPECT_TRUE(fs::exists(doc));
  EXPECT_FALSE(fs::exists(folder.LockPath()));
}

TEST(LvxviewStartUp, PlatformAndPrintersNeedNoDisplay) {
  ProgramFolder folder;
  const std::string ini = folder.dir.Write("app/lvxview.ini", "ROLLDIR=1\r\n");
  folder.Doc("b.lvx", "x");
  EXPECT_EQ(folder.Run({folder.Doc("a.lvx", "x")}), kShown);
  EXPECT_TRUE(fs::exists(ini));
}

TEST(LvxviewStartUp, ProgramFolderIsThatOfTheExecutableBehindALink) {
  ProgramFolder folder;
  fs::create_directories(folder.dir.path() + "/bin");
  const std::string link = folder.dir.path() + "/bin/lvxview";
  fs::create_symlink(folder.binary, link);
  const std::string appFlag = folder.dir.Write("app/lvxview.flg", "lvxview");
  const std::string linkFlag = folder.dir.Write("bin/lvxview.flg", "lvxview");
  EXPECT_EQ(folder.Run({folder.Doc("a.lvx", "x")}, link), kShown);
  EXPECT_FALSE(fs::exists(appFlag));
  EXPECT_TRUE(fs::exists(linkFlag));
}

TEST(LvxviewStartUp, AnInstalledViewerCleansUpInTheUsersRuntimeFolderOnly) {
  ProgramFolder folder;
  folder.dir.Write("app/shared-folder", "");
  for (const char* name : {"lvxview.flg", "scract.sh"}) {
    folder.dir.Write(std::string("app/") + name, "x");
    folder.dir.Write(std::string("runtime/lvx/") + name, "x");
  }
  EXPECT_EQ(folder.Run({folder.Doc("a.lvx", "x")}), kShown);
  EXPECT_TRUE(fs::is_empty(folder.runtime + "/lvx"));
  for (const char* name : {"lvxview.flg", "scract.sh"}) {
    EXPECT_TRUE(fs::exists(folder.app + "/" + name)) << name;
  }
}

TEST(LvxviewStartUp, PathIsOneArgumentWhateverItHolds) {
  ProgramFolder folder;
  const std::string doc = folder.Doc("March 2009/a $b;c'd.lvx", "x");
  EXPECT_EQ(folder.Run({doc}), kShown);
  EXPECT_EQ(folder.Run({"/CMD", "\"" + doc + "\""}), kShown);
  EXPECT_EQ(folder.Run({"March 2009/a $b;c'd.lvx"}), kShown);  // relative to the start folder
}

TEST(LvxviewStartUp, SecondStartEndsAtOnceAndLeavesTheFirstRunning) {
  ProgramFolder folder;
  const std::string doc = folder.Doc("a.lvx", "x");
  const std::string flag = folder.dir.Write("app/lvxview.flg", "lvxview");
  LockHolder first(folder);
  ASSERT_TRUE(first.Locked());
  EXPECT_EQ(folder.Run({doc}), kOtherInstance);
  // The running viewer may be waiting on its flag file.
  EXPECT_TRUE(fs::exists(flag));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(fs::exists(folder.LockPath()));
  first.Release();
  EXPECT_EQ(folder.Run({doc}), kShown);
  EXPECT_FALSE(fs::exists(flag));
}

TEST(LvxviewStartUp, AViewerThatEndsWithoutAWindowSaysWhyOnStandardError) {
  ProgramFolder folder;
  folder.Doc("a.lvx", "x");
  struct Row {
    QStringList arguments;
    bool otherRunning;
    int status;
    std::string line;
  };
  const QString missing = QString::fromStdString(folder.docs + "/missing.lvx");
  const Row rows[] = {
      {{}, false, kNoDocument, "lvxview: no document given\n"},
      {{"\"\""}, false, kNoDocument, "lvxview: no document given\n"},
      {{missing}, false, kNoDocument, "lvxview: " + missing.toStdString() + ": no such document\n"},
      {{QString::fromStdString(folder.Doc("empty.lvx", ""))},
       false,
       kNoDocument,
       "lvxview: " + folder.docs + "/empty.lvx: the document is empty and was deleted\n"},
      // The holder of the lock listens on no socket: nobody takes the document.
      {{"a.lvx"},
       true,
       kOtherInstance,
       "lvxview: another viewer is running and did not take a.lvx\n"},
      {{}, true, kOtherInstance, "lvxview: another viewer is running\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    std::optional<LockHolder> first;
    if (row.otherRunning) {
      first.emplace(folder);
      ASSERT_TRUE(first->Locked());
    }
    EXPECT_EQ(folder.RunToEnd(row.arguments), std::make_pair(row.status, row.line));
  }
}

TEST(LvxviewStartUp, ASecondStartHandsItsDocumentToTheRunningViewer) {
  ProgramFolder folder;
  const std::string a = folder.Doc("a.lvx", "x");
  folder.Doc("sub dir/b.lvx", "y");
  QProcess first;
  first.setProcessEnvironment(folder.Environment());
  first.setWorkingDirectory(QString::fromStdString(folder.docs));
  first.start(QString::fromStdString(folder.binary), {QString::fromStdString(a)});
  ASSERT_TRUE(first.waitForStarted(kWaitMs));
  // The running viewer listens once its window is up.
  const std::string socket = folder.runtime + "/lvxview.sock";
  const QDeadlineTimer deadline(kWaitMs);
  while (!fs::exists(socket) && !deadline.hasExpired()) QThread::msleep(50);
  ASSERT_TRUE(fs::exists(socket));
  EXPECT_EQ(
      folder.RunToEnd({"sub dir/b.lvx"}),
      std::make_pair(
          kOtherInstance,
          std::string("lvxview: another viewer is running; sub dir/b.lvx was handed to it\n")));
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kWaitMs));
  EXPECT_EQ(first.exitCode(), kShown);
}

// The standard output of lvxview with `argument` alone, with no display at
// all; nothing when it did not end with status 0.
std::optional<QByteArray> Answer(const ProgramFolder& folder, const QString& argument) {
  QProcess process;
  QProcessEnvironment env = folder.Environment();
  env.remove("QT_QPA_PLATFORM");
  process.setProcessEnvironment(env);
  process.start(QString::fromStdString(folder.binary), {argument});
  if (!process.waitForFinished(kWaitMs) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return process.readAllStandardOutput();
}

TEST(LvxviewStartUp, HelpAndVersionAnswerBeforeTheInstanceCheck) {
  ProgramFolder folder;
  LockHolder first(folder);
  ASSERT_TRUE(first.Locked());
  const auto help = Answer(folder, "--help");
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->startsWith("Usage: lvxview DOCUMENT\n")) << help->toStdString();
  EXPECT_EQ(Answer(folder, "--version"), QByteArray("lvxview " LVX_VERSION "\n"));
  EXPECT_TRUE(first.Running());
  // With more on the line it is a document's name.
  EXPECT_EQ(folder.Run({"--help", "x"}), kOtherInstance);
}

TEST(LvxviewStartUp, LockLeftByADeadViewerIsTakenOver) {
  ProgramFolder folder;
  LockHolder first(folder);
  ASSERT_TRUE(first.Locked());
  first.Kill();
  ASSERT_TRUE(fs::exists(folder.LockPath()));
  EXPECT_EQ(folder.Run({folder.Doc("a.lvx", "x")}), kShown);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
