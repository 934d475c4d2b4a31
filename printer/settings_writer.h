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
// it, symbolic links followed) with PrinterSettingsText. The new content is
// written to SettingsTempPath, flushed to disk and renamed over the file, so
// a reader at any moment sees the whole old or the whole new file. On
// failure the old file is left as it was, no temporary file remains, and
// the result says why. Never throws.
SettingsWriteResult WritePrinterSettings(const std::string& path, std::string_view printerText,
                                         std::string_view copiesText);

// Where the new content goes before it replaces `target`: the same folder,
// the target's name followed by "." and this process's id and ".tmp".
std::string SettingsTempPath(const std::string& target);

}  // namespace lvx
