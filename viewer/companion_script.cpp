// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_script.h"

#include <QLocale>

namespace lvx {

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  quoted += '\'';
  return quoted;
}

std::string CompanionScript(const CompanionCommand& command, std::string_view flagFilePath) {
  std::string script = "# FERRO LUMEN srl - t.vardel - https://lvx.example.org\n";
  script += ShellQuote(command.program);
  for (const std::string& argument : command.arguments) script += ' ' + ShellQuote(argument);
  script += '\n';
  script += "rm -f -- " + ShellQuote(flagFilePath) + '\n';
  return script;
}

std::string FlagFileLine(const QDateTime& now, std::string_view progName) {
  const QString stamp = QLocale::c().toString(now, QStringLiteral("MM-dd-yyyy HH:mm:ss"));
  return stamp.toStdString() + ' ' + std::string(progName) + '\n';
}

}  // namespace lvx
