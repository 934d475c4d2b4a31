// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_text.h"

#include <algorithm>
#include <iostream>

#include "cp1252.h"

namespace lvx {
namespace {

constexpr std::string_view kSwitch = "/CMD";

bool IsArgumentBreak(char c) {
  return c == ' ' || c == '"';
}

std::size_t FindCmdSwitch(std::string_view textUp) {
  for (auto at = textUp.find(kSwitch); at != std::string_view::npos;
       at = textUp.find(kSwitch, at + 1)) {
    const std::size_t after = at + kSwitch.size();
    const bool starts = at == 0 || IsArgumentBreak(textUp[at - 1]);
    const bool ends = after == textUp.size() || IsArgumentBreak(textUp[after]);
    if (starts && ends) return at;
  }
  return std::string_view::npos;
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
  const auto cmd = FindCmdSwitch(UpperCase1252(commandText));
  if (cmd != std::string_view::npos) commandText.remove_prefix(cmd + kSwitch.size());
  if (commandText.size() > kCommandTextLimit) return {};
  std::string arguments(commandText);
  arguments.erase(std::remove(arguments.begin(), arguments.end(), '"'), arguments.end());
  const auto first = arguments.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return arguments.substr(first, arguments.find_last_not_of(' ') - first + 1);
}

bool AnswerInformationRequest(std::string_view commandText, std::string_view program,
                              std::string_view version, std::string_view usage) {
  if (commandText == "--help") {
    std::cout << usage;
  } else if (commandText == "--version") {
    std::cout << program << ' ' << version << '\n';
  } else {
    return false;
  }
  return true;
}

}  // namespace lvx
