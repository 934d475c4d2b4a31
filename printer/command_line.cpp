// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include "convert.h"
#include "cp1252.h"
#include "scan_error.h"

namespace lvx {
namespace {

constexpr std::string_view kCmdKey = "/CMD";
constexpr std::string_view kCopiesKey = "/C:";

std::size_t FindCmdKey(const std::string& upper) {
  for (auto p = upper.find(kCmdKey); p != std::string::npos; p = upper.find(kCmdKey, p + 1)) {
    const auto next = p + kCmdKey.size();
    if (next == upper.size() || upper[next] == ' ' || upper[next] == '"') return p;
  }
  return std::string::npos;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::int16_t CopiesFrom(std::string_view text) {
  try {
    return ToPoints(ToNumber(text));
  } catch (const ScanError&) {
    return 0;
  }
}

std::string Absolute(std::string_view path, std::string_view startFolder) {
  if (path.front() == '/' || startFolder.empty()) return std::string(path);
  std::string absolute(startFolder);
  if (absolute.back() != '/') absolute += '/';
  return absolute += path;
}

}  // namespace

std::string GetCommandText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

std::string CommandArguments(std::string_view commandText) {
  const auto cmd = FindCmdKey(UpperCase1252(commandText));
  if (cmd != std::string::npos) commandText.remove_prefix(cmd + kCmdKey.size());
  if (commandText.size() > kCommandTextLimit) return {};
  std::string unquoted;
  for (char c : commandText) {
    if (c != '"') unquoted += c;
  }
  return std::string(TrimBlanks(unquoted));
}

PrintCommand ParsePrintCommand(std::string_view commandText, std::string_view startFolder) {
  PrintCommand command;
  const std::string arguments = CommandArguments(commandText);
  if (arguments.empty()) return command;
  const auto key = UpperCase1252(arguments).find(kCopiesKey);
  const std::string_view path = std::string_view(arguments).substr(0, key);
  if (key != std::string::npos && key + kCopiesKey.size() < arguments.size()) {
    command.copies = CopiesFrom(std::string_view(arguments).substr(key + kCopiesKey.size()));
  }
  if (path.empty()) return command;
  command.DocPath = Absolute(path, startFolder);
  const auto slash = command.DocPath.rfind('/');
  if (slash == std::string::npos) {
    command.DocFileName = command.DocPath;
    command.DocFolder = std::string(startFolder);
  } else {
    command.DocFileName = command.DocPath.substr(slash + 1);
    command.DocFolder = slash == 0 ? "/" : command.DocPath.substr(0, slash);
  }
  return command;
}

std::int16_t CopiesForRun(std::int16_t commandCopies, std::int16_t settingsCopies) {
  const std::int16_t copies = commandCopies != 0 ? commandCopies : settingsCopies;
  return copies < 1 || copies > 99 ? 1 : copies;
}

}  // namespace lvx
