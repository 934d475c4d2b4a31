// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lvx {

// The command line as one text, the way other programs hand it over: the
// arguments after the program's name joined with single blanks.
std::string GetCommandText(int argc, const char* const* argv);

// Longest argument text a program accepts after the "/CMD" cut.
inline constexpr std::size_t kCommandTextLimit = 1024;

// The part of a command text that carries arguments: the text after the
// first "/CMD" key (any letter case) when there is one, every double quote
// removed, leading and trailing blanks trimmed. "/CMD" counts as a key only
// when a blank, a double quote or the end of the text follows it, so that a
// folder such as "/srv/cmd/" or "/home/cmdfiles/" in a path is not cut.
// Empty when the text after the cut is longer than kCommandTextLimit:
// rather nothing than a path cut short.
std::string CommandArguments(std::string_view commandText);

// What lvxprint takes from its command line, bytes as they came (the path
// is a local file name).
struct PrintCommand {
  // Absolute path of the document, empty when the line names none. Blanks
  // before "/C:" stay; the file look-up forgives them.
  std::string DocPath;
  std::string DocFolder;    // DocPath up to its last "/", without it ("/" for the root)
  std::string DocFileName;  // DocPath after its last "/"
  std::int16_t copies = 0;  // from "/C:", 0 when not given or not a number
};

// Reads lvxprint's command text: CommandArguments, then the document path
// and an optional "/C:" (any letter case) with the number of copies, read
// with ToNumber and rounded half to even. A relative path is taken in
// `startFolder` (absolute, the folder the program started in). Never throws.
PrintCommand ParsePrintCommand(std::string_view commandText, std::string_view startFolder);

// The copies to print: the command line's when given (not 0), else the
// settings'; anything outside 1..99 gives 1.
std::int16_t CopiesForRun(std::int16_t commandCopies, std::int16_t settingsCopies);

}  // namespace lvx
