// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// The most documents of one folder that browsing walks through.
inline constexpr std::size_t kMaxDocList = 9999;

// Lower case of Windows-1252 bytes, the exact inverse of UpperCase1252 on
// letters, so a lower-cased name still finds its file through FindFile.
std::string LowerCase1252(std::string_view text);

// Names of the documents in `folder`: regular files (symlinks followed), not
// hidden (no leading "."), whose name ends in ".lvx" in any letter case; in
// the order the folder gives them, at most `limit`. A folder that cannot be
// read, or an error part way, gives what was read before. Never throws.
std::vector<std::string> ListDocuments(const std::string& folder, std::size_t limit);

// The folder list for browsing: entry 0 unused and empty, entries 1..n the
// lower case of `prefix` + name, sorted by byte value.
std::vector<std::string> SortedDocList(std::string_view prefix,
                                       const std::vector<std::string>& names);

// Index of the entry equal to `path` when both are compared in upper case;
// the last such entry when several are, 0 when none is.
std::int16_t FindDocIndex(const std::vector<std::string>& docList, std::string_view path);

}  // namespace lvx
