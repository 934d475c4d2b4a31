// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "command_text.h"

namespace lvx {

// What lvxprint takes from its command line, bytes as they came (the path
// is a local file name).
struct PrintCommand {
  // Absolute path of the document, empty when the line names none. Blanks
  // before "/C:" stay; the file look-up forgives them.
  std::string DocPath;
  std::string DocFolder;    // DocPath up to its last "/", without it ("/" for the root)
  std::string DocFileName;  // DocPath after its last "/"
  std::int16_t copies = 0;  // from "/C:", 0 when not given or not a number
  // The text after the "/CMD" cut was longer than kCommandTextLimit: nothing
  // else is taken from it.
  bool tooLong = false;
};

// Reads lvxprint's command text: the arguments after any "/CMD", then the
// document path and an optional "/C:" (any letter case, where it starts an
// argument, as "/CMD" does) with the number of copies, read with ToNumber
// and rounded half to even. Quotes are dropped and the text trimmed. A relative path is taken in
// `startFolder` (absolute, the folder the program started in). Never throws.
PrintCommand ParsePrintCommand(std::string_view commandText, std::string_view startFolder);

// The folder part of `path`: up to its last "/", without it; "/" for a file
// at the root, empty for a name without a folder.
std::string FolderOf(std::string_view path);

// Makes `folder` the current folder. Empty when it did, else why not.
std::string ChangeFolder(const std::string& folder);

// The copies to print: the command line's when given (not 0), else the
// settings'; anything outside 1..99 gives 1.
std::int16_t CopiesForRun(std::int16_t commandCopies, std::int16_t settingsCopies);

}  // namespace lvx
