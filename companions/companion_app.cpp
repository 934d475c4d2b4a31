// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_app.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "printable_line.h"

namespace lvx {
namespace {

constexpr std::string_view kPlatformVariable = "QT_QPA_PLATFORM=";

void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << QCoreApplication::applicationName().toStdString() << ": "
              << PrintableLine(message.toStdString()) << '\n';
  }
}

}  // namespace

CompanionApp::CompanionApp(char* programPath) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
    platformChosen_ = true;
  }
  qInstallMessageHandler(QuietQt);
  // Only the program's name: the arguments are no options for Qt.
  argv_[0] = programPath;
  app_ = std::make_unique<QGuiApplication>(argc_, argv_);
}

std::vector<std::string> CompanionApp::ChildEnvironment() const {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (platformChosen_ && text.starts_with(kPlatformVariable)) continue;
    environment.emplace_back(text);
  }
  return environment;
}

std::string CompanionApp::StartFolder() {
  std::error_code error;
  const auto folder = std::filesystem::current_path(error);
  return error ? std::string("/") : folder.string();
}

}  // namespace lvx
