// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lvx {

// The longest argument text (after the "/CMD" cut) taken as a document path.
inline constexpr std::size_t kMaxArgumentText = 1024;

// The process's argument text: argv[1..] joined with single blanks, bytes
// as given. Empty when there are no arguments.
std::string GetCommandText(int argc, const char* const* argv);

// Turns argument text into a document path: the text after the first "/CMD"
// switch (any letter case, standing as an argument of its own: "/cmdout/"
// in a path is no switch) when there is one, every double quote removed, blanks
// trimmed at both ends (inner blanks stay: the rest is one path). Text
// longer than kMaxArgumentText after the cut gives an empty path: an
// over-long path is refused whole, never opened cut short.
std::string CleanCommandText(std::string_view cmdText);

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
