// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace lvx {
namespace {

using testing::TempDir;

QString InFolder(const TempDir& folder, const char* name) {
  return QString::fromStdString(folder.path() + "/" + name);
}

// The id of a process that has ended and been reaped: no one holds it now.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(SingleInstance, OneHolderAtATimeInAProcess) {
  const TempDir folder;
  const QString lock = InFolder(folder, "lvx-instance-test.lock");
  auto first = std::make_unique<SingleInstance>(lock);
  EXPECT_TRUE(first->Claim());
  EXPECT_TRUE(first->Claim());  // claiming again keeps the lock
  EXPECT_FALSE(SingleInstance(lock).Claim());
  first.reset();
  EXPECT_FALSE(QFile::exists(lock));
  EXPECT_TRUE(SingleInstance(lock).Claim());
}

// A lock left by a process that has gone is taken over at once, whatever
// its age; one that cannot be made at all does not keep a program from
// running.
TEST(SingleInstance, ClaimsWhatNoLiveProcessHolds) {
  const TempDir folder;
  const struct {
    const char* name;
    QString path;
    QByteArray content;
  } cases[] = {
      {"left by an ended process", InFolder(folder, "ended.lock"),
       QByteArray::number(EndedProcess()) + "\nlvx-stale-holder\n\n"},
      {"folder missing", InFolder(folder, "missing/x.lock"), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.content.isNull()) {
      QFile file(c.path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.content);
    }
    SingleInstance instance(c.path);
    EXPECT_TRUE(instance.Claim());
  }
}

TEST(SingleInstance, LockPathIsPerUserAndProgram) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  ASSERT_NE(runtime, nullptr);
  EXPECT_EQ(SingleInstance::LockPathFor("lvxpick"), QString(runtime) + "/lvxpick.lock");
  EXPECT_NE(SingleInstance::LockPathFor("lvxpick"), SingleInstance::LockPathFor("lvxview"));
}

}  // namespace
}  // namespace lvx
