// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <algorithm>

#include "cp1252.h"

namespace lvx {
namespace {

bool IsArgumentBreak(char c) {
  return c == ' ' || c == '"';
}

// "/CMD" counts where it stands as an argument of its own: here "/cmd" also
// begins folder and file names ("/srv/cmdout/a.lvx", "/cmd/a.lvx"), which
// must stay whole.
std::size_t FindCmdSwitch(std::string_view textUp) {
  constexpr std::string_view kSwitch = "/CMD";
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

std::string CleanCommandText(std::string_view cmdText) {
  const auto cmd = FindCmdSwitch(UpperCase1252(cmdText));
  if (cmd != std::string::npos) cmdText.remove_prefix(cmd + 4);
  if (cmdText.size() > kMaxArgumentText) return {};
  std::string path(cmdText);
  path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
  const auto first = path.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = path.find_last_not_of(' ');
  return path.substr(first, last - first + 1);
}

SplitPath SplitDocumentPath(const std::string& cmdText, std::string_view currentDir) {
  SplitPath split;
  if (!cmdText.empty()) {
    const auto slash = cmdText.rfind('/');
    split.DocPath = cmdText;
    if (slash == std::string::npos) {
      split.DocFileName = cmdText;
    } else {
      split.DocFileName = cmdText.substr(slash + 1);
      split.DocFolder = cmdText.substr(0, slash + 1);
    }
  }
  if (split.DocFolder.empty()) split.DocFolder = std::string(currentDir);
  return split;
}

}  // namespace lvx
