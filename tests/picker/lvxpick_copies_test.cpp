// SPDX-License-Identifier: GPL-3.0-or-later
// Runs copies of the real lvxpick program side by side.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempDir;

// lvxpick copied into a folder of its own (it keeps lvxprint.ini beside
// itself), run offscreen with its own runtime folder and no printers.
class LvxPickCopies : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(LVXPICK_PATH, program_);
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    environment_.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.path()));
    environment_.insert("CUPS_SERVER", QString::fromStdString(runtime_.path() + "/no-cups.sock"));
  }
  void TearDown() override {
    for (auto& process : processes_) {
      process->kill();
      process->waitForFinished();
    }
  }

  QProcess& Start(const QStringList& arguments = {}) {
    auto& process = *processes_.emplace_back(std::make_unique<QProcess>());
    process.setProcessEnvironment(environment_);
    process.start(QString::fromStdString(program_), arguments);
    EXPECT_TRUE(process.waitForStarted());
    return process;
  }

  // Waits until the first copy holds the lock and has read its settings.
  bool WaitUntilRunning() const {
    for (int i = 0; i < 500; ++i) {
      if (QFile::exists(LockPath()) && fs::exists(Ini())) return true;
      QTest::qWait(20);
    }
    return false;
  }

  QString LockPath() const { return QString::fromStdString(runtime_.path() + "/lvxpick.lock"); }
  std::string Ini() const { return folder_.path() + "/lvxprint.ini"; }

  // Later starts have no display and no platform to fall back on.
  void WithoutDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
      environment_.remove(name);
    }
  }

  static bool EndsAtOnce(QProcess& process) {
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
  }

 private:
  TempDir folder_;
  TempDir runtime_;
  std::string program_ = folder_.path() + "/lvxpick";
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
  std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(LvxPickCopies, ASecondStartEndsAtOnceAndLeavesTheFirstAlone) {
  QProcess& first = Start();
  ASSERT_TRUE(WaitUntilRunning());
  EXPECT_EQ(ReadAll(Ini()), "");

  EXPECT_TRUE(EndsAtOnce(Start()));
  // However long the first one has been open.
  QFile lock(LockPath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                               QFileDevice::FileModificationTime));
  lock.close();
  EXPECT_TRUE(EndsAtOnce(Start()));

  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(ReadAll(Ini()), "");
}

TEST_F(LvxPickCopies, TheLockOfAKilledInstanceIsTakenOver) {
  QProcess& first = Start();
  ASSERT_TRUE(WaitUntilRunning());
  first.kill();
  ASSERT_TRUE(first.waitForFinished());
  ASSERT_TRUE(QFile::exists(LockPath()));

  QProcess& second = Start();
  EXPECT_FALSE(second.waitForFinished(1500));
  EXPECT_EQ(second.state(), QProcess::Running);
}

TEST_F(LvxPickCopies, HelpAndVersionAnswerWithoutADisplayBesideARunningPicker) {
  Start();
  ASSERT_TRUE(WaitUntilRunning());
  WithoutDisplay();
  QProcess& help = Start({"--help"});
  EXPECT_TRUE(EndsAtOnce(help));
  EXPECT_TRUE(help.readAllStandardOutput().startsWith("Usage: lvxpick [/NOCOPIES]\n"));
  QProcess& version = Start({"--version"});
  EXPECT_TRUE(EndsAtOnce(version));
  EXPECT_EQ(version.readAllStandardOutput(), "lvxpick " LVX_VERSION "\n");
}

}  // namespace
}  // namespace lvx
