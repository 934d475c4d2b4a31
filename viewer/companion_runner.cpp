// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_runner.h"

#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include "atomic_file.h"
#include "check_file.h"
#include "program_folders.h"

namespace lvx {
namespace {

// Neither the shell nor anyone looking at the flag file ever meets half a
// file, or one left over from a run that ended badly.
bool WriteFile(const std::string& path, const std::string& text) {
  AtomicFile file(path);
  return file.ok() && file.Write(text) && file.Replace(path);
}

bool FlagPresent(const std::string& flagFilePath) {
  return CheckFile(flagFilePath) == kCheckUsable;
}

}  // namespace

CompanionRunner::CompanionRunner(const ViewerSession& session) : session_(session) {}

std::string CompanionRunner::ScriptPath() const {
  return session_.WorkFolder + "/scract.sh";
}

void CompanionRunner::RunCompanion(const CompanionCommand& command) {
  // A user's own folder may not exist yet. A program folder that has gone
  // stays gone: nothing of the run can be written then.
  if (session_.WorkFolder != session_.AppFolder) MakeFolders(session_.WorkFolder);
  WriteFile(session_.FlagFilePath, FlagFileLine(QDateTime::currentDateTime(), session_.ProgName));
  const bool started =
      WriteFile(ScriptPath(), CompanionScript(command, session_.FlagFilePath)) &&
      QProcess::startDetached(QStringLiteral("/bin/sh"), {QFile::decodeName(ScriptPath().c_str())});
  // Without a running script nobody would ever remove the flag file, and
  // the viewer would wait for good.
  if (!started) session_.RemoveLeftovers();
  WaitFlagGone();
  session_.RemoveLeftovers();
}

void CompanionRunner::WaitFlagGone() {
  if (!FlagPresent(session_.FlagFilePath)) return;
  QEventLoop loop;
  QTimer pause;
  pause.setInterval(PauseSeconds * 1000);
  QObject::connect(&pause, &QTimer::timeout, &loop, [&] {
    if (!FlagPresent(session_.FlagFilePath)) loop.quit();
  });
  pause.start();
  loop.exec();
}

}  // namespace lvx
