// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lvx {

// Finds the regular file that `path` names the way the files' home system
// would: blanks at the end of the name are ignored, and where no entry has
// the exact name, the entry of that folder that matches ignoring letter case
// (Windows-1252) is used, folder by folder. Folders, devices, pipes and
// sockets count as missing. Never throws.
std::optional<std::string> FindFile(std::string_view path);

// Turns a file name taken from a document into a local path: backslashes,
// the documents' own separator, become "/".
std::string LocalSeparators(std::string_view name);

// True when the name holds a folder separator of either kind.
bool HasSeparator(std::string_view name);

}  // namespace lvx
