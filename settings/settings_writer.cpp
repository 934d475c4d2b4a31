// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_writer.h"

#include <climits>
#include <cstdlib>

#include "atomic_file.h"
#include "file_lookup.h"

namespace lvx {
namespace {

// The file to replace: the one the readers find, through any symbolic link,
// else the path as given.
std::string TargetOf(const std::string& path) {
  const auto found = FindFile(path);
  if (!found) return path;
  char resolved[PATH_MAX];
  if (::realpath(found->c_str(), resolved) == nullptr) return *found;
  return resolved;
}

}  // namespace

std::string PrinterSettingsText(std::string_view printerText, std::string_view copiesText) {
  std::string text = "[LvxPick FERRO LUMEN srl t.vardel ]\r\n  \r\n";
  text += "Printer=";
  text += printerText;
  text += "\r\nCopies=";
  text += copiesText;
  text += "\r\n \r\n";
  return text;
}

SettingsWriteResult WritePrinterSettings(const std::string& path, std::string_view printerText,
                                         std::string_view copiesText) {
  try {
    const std::string target = TargetOf(path);
    if (!IsReplaceable(target)) return {false, "not a regular file; left as it is"};
    AtomicFile file(target);
    if (!file.ok() || !file.Write(PrinterSettingsText(printerText, copiesText)) ||
        !file.Replace(target)) {
      return {false, file.error()};
    }
    return {true, {}};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

}  // namespace lvx
