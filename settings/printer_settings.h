// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "program_folders.h"

namespace lvx {

// How a program bounds the copies it reads from lvxprint.ini.
enum class CopiesBound {
  kBatchPrinter,  // 1..99; a number above 99 gives 1, not 99
  kPicker,        // 1..29; a number above 29 gives 29
};

// What a reading of lvxprint.ini gives. Texts are Windows-1252 bytes.
struct PrinterSettings {
  // As stored, blanks and letter case kept; the default printer's name
  // when the file names none (empty or a single blank).
  std::string printerName;
  std::int16_t copies = 1;  // within the reading program's bound
  std::string copiesText;   // the decimal digits of `copies`
};

// The settings file of the folder that holds the programs.
std::string PrinterSettingsPath(std::string_view appFolder);

// Where lvxprint.ini is read and written. In a program folder of its own
// that is the folder's file, created empty when missing. For a shared
// folder it is the user's own file; while the user has none, the program
// folder's file (a choice made for everyone) is read, and nothing is
// created.
struct PrinterSettingsFiles {
  std::string path;      // read first; the file the picker replaces
  std::string fallback;  // read while `path` does not exist; empty for none
  bool createMissing = true;
};

PrinterSettingsFiles PrinterSettingsFilesFor(const ProgramFolders& folders);

// Interprets the bytes of a settings file: every line holding "PRINTER=" or
// "COPIES=" (any letter case, anywhere in the line) sets that value to the
// rest of the line without CR and LF; a later line wins. Lines end at LF,
// with or without CR; a last line without LF counts. Only the first
// kKeptLineBytes of a line count. Never throws.
PrinterSettings ParsePrinterSettings(std::string_view bytes, CopiesBound bound,
                                     std::string_view defaultPrinter);

// Reads the settings file at `path`, found the way every file is (trailing
// blanks and letter case of the name forgiven). A missing file is created
// empty; a file that cannot be created or read, or is no regular file,
// reads as an empty one. Never throws.
PrinterSettings ReadPrinterSettings(const std::string& path, CopiesBound bound,
                                    std::string_view defaultPrinter);

// Reads files.path when it exists, else files.fallback when that exists,
// as above; creates files.path empty only when neither does and
// files.createMissing is set. Never throws.
PrinterSettings ReadPrinterSettings(const PrinterSettingsFiles& files, CopiesBound bound,
                                    std::string_view defaultPrinter);

// The copies a copies text stands for under `bound`: its leading number
// rounded half to even, then bounded. Never throws.
std::int16_t BoundedCopies(std::string_view copiesText, CopiesBound bound);

}  // namespace lvx
