// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lvx {

// The bytes of lvxprint.ini as the picker writes it: five lines ended by
// CR LF, the two texts exactly as given (nothing trimmed or checked).
std::string PrinterSettingsText(std::string_view printerText, std::string_view copiesText);

struct SettingsWriteResult {
  bool ok = false;
  std::string error;  // the system's reason when not ok
};

// Replaces the settings file at `path` (found as ReadPrinterSettings finds
// it, symbolic links followed) with PrinterSettingsText, keeping its
// permissions. The new content goes into an AtomicFile, which flushes it to
// disk and renames it over the file, so a reader at any moment sees the
// whole old or the whole new file. Something other than a regular file in its place
// (a folder, a pipe, a device) is refused and left alone. On failure the
// old file is left as it was (unless only its folder could not be flushed
// after the rename), no temporary file remains, and the result says why.
// Never throws.
SettingsWriteResult WritePrinterSettings(const std::string& path, std::string_view printerText,
                                         std::string_view copiesText);

}  // namespace lvx
