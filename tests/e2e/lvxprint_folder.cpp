// SPDX-License-Identifier: GPL-3.0-or-later
#include "lvxprint_folder.h"

#include <QProcess>
#include <filesystem>

namespace lvx::testing {

namespace fs = std::filesystem;

LvxPrintFolder::LvxPrintFolder() {
  fs::create_directories(app);
  fs::create_directories(docs);
  fs::create_directories(runtime);
  fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
  fs::copy_file(LVXPRINT_BINARY, binary);
}

QProcessEnvironment LvxPrintFolder::Environment(
    const std::map<std::string, std::string>& extra) const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // No display at all, and no platform chosen: lvxprint must manage alone.
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LVXPRINT_OUTPUT"}) {
    env.remove(name);
  }
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
  env.insert("CUPS_SERVER", QString::fromStdString(dir.path() + "/no-cups.sock"));
  for (const auto& [name, value] : extra) {
    if (value.empty()) {
      env.remove(QString::fromStdString(name));
    } else {
      env.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
  }
  return env;
}

std::string LvxPrintFolder::AddProgram(const std::string& source) const {
  const std::string target = app + "/" + fs::path(source).filename().string();
  fs::copy_file(source, target, fs::copy_options::overwrite_existing);
  return target;
}

RunResult LvxPrintFolder::Run(const std::vector<std::string>& arguments,
                              const std::map<std::string, std::string>& extra,
                              const std::string& from) const {
  return RunProgram(binary, arguments, extra, from);
}

RunResult LvxPrintFolder::RunProgram(const std::string& program,
                                     const std::vector<std::string>& arguments,
                                     const std::map<std::string, std::string>& extra,
                                     const std::string& from) const {
  QProcess process;
  process.setProcessEnvironment(Environment(extra));
  process.setWorkingDirectory(QString::fromStdString(from.empty() ? docs : from));
  QStringList list;
  for (const auto& argument : arguments) list << QString::fromStdString(argument);
  process.start(QString::fromStdString(program), list);
  RunResult result;
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
  } else if (process.exitStatus() == QProcess::NormalExit) {
    result.status = process.exitCode();
  }
  result.out = process.readAllStandardOutput().toStdString();
  result.err = process.readAllStandardError().toStdString();
  return result;
}

}  // namespace lvx::testing
