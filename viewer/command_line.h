// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lvx {

// A document path split at its last "/".
struct SplitPath {
  std::string DocPath;
  std::string DocFileName;
  // Up to and including the last "/"; `currentDir` (as given, normally
  // without a trailing "/") when the path names no folder or is empty.
  std::string DocFolder;
};
SplitPath SplitDocumentPath(const std::string& cmdText, std::string_view currentDir);

}  // namespace lvx
