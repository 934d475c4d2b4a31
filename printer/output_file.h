// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "atomic_file.h"

namespace lvx {

// The PDF beside a document: same folder and name, ".pdf" in place of the
// name's extension (or added when it has none).
std::string BesidePdfPath(std::string_view docPath);

// True when the file at `path` is a whole PDF file: it ends with the
// end-of-file mark, so nothing was cut off while writing it.
bool IsCompletePdf(const std::string& path);
// As above, for the file open for reading at `fd` (its offset is left alone).
bool IsCompletePdf(int fd);

}  // namespace lvx
