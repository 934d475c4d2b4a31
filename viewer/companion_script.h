// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// A program and its arguments, each one word whatever it holds.
struct CompanionCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// `text` as one word of the shell: in single quotes, each single quote
// written as '\''. The shell expands nothing inside.
std::string ShellQuote(std::string_view text);

// The companion script: a remark line, the companion's command with every
// word quoted, then the removal of the flag file, one command a line.
std::string CompanionScript(const CompanionCommand& command, std::string_view flagFilePath);

// The flag file's one line: the date as MM-DD-YYYY, the time as HH:MM:SS
// (24-hour) and `progName`, separated by blanks.
std::string FlagFileLine(const QDateTime& now, std::string_view progName);

}  // namespace lvx
