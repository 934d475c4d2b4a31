// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_server.h"

#include <QProcess>
#include <chrono>
#include <filesystem>
#include <thread>

namespace lvx::testing {

PrintServer::PrintServer(const QStringList& options) {
  // The scheduler's filters and backends run as its own user and must get
  // through to the spool and the output folder.
  std::filesystem::permissions(
      root_.path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                        std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
  QProcess script;
  script.start(PRIVATE_CUPS_SCRIPTS "/private-cups",
               QStringList{"--tcp"} << options << QString::fromStdString(dir_));
  if (!script.waitForFinished(60000) || script.exitCode() != 0) return;
  address_ = script.readAllStandardOutput().trimmed().toStdString();
}

PrintServer::~PrintServer() {
  Stop();
}

void PrintServer::Stop() {
  if (address_.empty()) return;
  QProcess::execute(PRIVATE_CUPS_SCRIPTS "/private-cups-stop", {QString::fromStdString(dir_)});
  address_.clear();
}

std::string PrintServer::AccessLog() const {
  return ReadAll(dir_ + "/log/access_log");
}

std::optional<std::string> PrintServer::Client(const QString& program,
                                               const QStringList& arguments) const {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("CUPS_SERVER", QString::fromStdString(address_));
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
  return process.readAllStandardOutput().toStdString();
}

bool PrintServer::AddQueue(const std::string& name, const std::string& file, const std::string& ppd,
                           const QStringList& options) const {
  return Client("lpadmin", QStringList{"-p", QString::fromStdString(name), "-E", "-v",
                                       QString::fromStdString("file://" + out() + "/" + file), "-P",
                                       QString::fromStdString(ppd)}
                               << options)
      .has_value();
}

bool PrintServer::Idle() const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    const auto jobs = Client("lpstat", {"-o"});
    if (jobs && jobs->empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace lvx::testing
