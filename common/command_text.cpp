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

bool StandsAlone(std::string_view textUp, std::size_t at, std::size_t length) {
  const std::size_t after = at + length;
  return after == textUp.size() || IsArgumentBreak(textUp[after]);
}

// "/CMD" is a switch only where it stands as an argument of its own.
std::size_t FindCmdSwitch(std::string_view textUp) {
  for (auto at = FindArgumentKey(textUp, kSwitch); at != std::string_view::npos;
       at = FindArgumentKey(textUp, kSwitch, at + 1)) {
    if (StandsAlone(textUp, at, kSwitch.size())) return at;
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

std::size_t FindArgumentKey(std::string_view textUp, std::string_view key, std::size_t from) {
  for (auto at = textUp.find(key, from); at != std::string_view::npos;
       at = textUp.find(key, at + 1)) {
    if (at == 0 || IsArgumentBreak(textUp[at - 1])) return at;
  }
  return std::string_view::npos;
}

std::optional<std::string_view> ArgumentText(std::string_view commandText) {
  const std::string textUp = UpperCase1252(commandText);
  if (const auto cmd = FindCmdSwitch(textUp); cmd != std::string_view::npos) {
    commandText.remove_prefix(cmd + kSwitch.size());
  }
  if (commandText.size() > kCommandTextLimit) return std::nullopt;
  return commandText;
}

std::string WithoutQuotes(std::string_view text, bool trimStart, bool trimEnd) {
  std::string out(text);
  out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
  if (trimEnd) out.erase(out.find_last_not_of(' ') + 1);
  if (trimStart) out.erase(0, std::min(out.find_first_not_of(' '), out.size()));
  return out;
}

std::string CommandArguments(std::string_view commandText) {
  const auto text = ArgumentText(commandText);
  return text ? WithoutQuotes(*text, true, true) : std::string();
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
