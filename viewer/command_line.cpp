// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

namespace lvx {
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
