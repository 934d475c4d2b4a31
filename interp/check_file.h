// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lvx {

class FolderListings;

// Results of CheckFile.
inline constexpr std::int16_t kCheckUsable = 0;
inline constexpr std::int16_t kCheckNoName = 97;
inline constexpr std::int16_t kCheckMissing = 99;

// The check run before a file is used: 0 when it is a regular file that can
// be opened and is not empty, 97 for an empty or blank name, 99 when it is
// missing, not a regular file, unreadable or empty. An empty file is deleted
// (a failure to delete is ignored). Never throws.
std::int16_t CheckFile(std::string_view checkPath);

// As CheckFile; when the file is usable, `found` is its path as FindFile
// finds it (through `listings` when given), so that the caller need not
// look it up again.
std::int16_t CheckFile(std::string_view checkPath, std::string& found,
                       FolderListings* listings = nullptr);

// As CheckFile; when the file is usable, `fd` is the descriptor the check
// opened it with (read-only, non-blocking, close-on-exec), so that the caller
// reads the very file that was checked, whatever takes its name meanwhile,
// and closes it; otherwise `fd` is -1.
std::int16_t CheckAndOpenFile(std::string_view checkPath, int& fd);

}  // namespace lvx
