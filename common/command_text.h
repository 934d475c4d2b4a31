// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lvx {

// The command line as one text, the way other programs hand it over: the
// arguments after the program's name joined with single blanks, bytes as
// given. Empty when there are none.
std::string GetCommandText(int argc, const char* const* argv);

// Longest argument text a program accepts after the "/CMD" cut.
inline constexpr std::size_t kCommandTextLimit = 1024;

// The part of a command text that carries arguments: the text after the
// first "/CMD" switch (any letter case) when there is one, every double
// quote removed, blanks trimmed at both ends (inner blanks stay). "/CMD"
// counts only where it stands as an argument of its own, between the start,
// a blank or a quote and the end, a blank or a quote: folders such as
// "/srv/cmd/" or "/home/cmdfiles/" in a path are no switch. Empty when the
// text after the cut is longer than kCommandTextLimit: rather nothing than a
// path cut short. Never throws.
std::string CommandArguments(std::string_view commandText);

// The command text after the "/CMD" cut, quotes and blanks as they came;
// nothing when it is longer than kCommandTextLimit.
std::optional<std::string_view> ArgumentText(std::string_view commandText);

// Position of the first `key` in `textUp`, from `from` on, that starts an
// argument (at the start of the text or after a blank or a quote), so that a
// key inside a path component ("/mnt/c:/") does not count; npos when there
// is none.
std::size_t FindArgumentKey(std::string_view textUp, std::string_view key, std::size_t from = 0);

// `text` without its double quotes and, where asked, without blanks at
// either end.
std::string WithoutQuotes(std::string_view text, bool trimStart, bool trimEnd);

// Prints the usage for "--help" or "<program> <version>" for "--version"
// to standard output when that is the whole command text; true when it
// did, and the program then ends with status 0.
bool AnswerInformationRequest(std::string_view commandText, std::string_view program,
                              std::string_view version, std::string_view usage);

}  // namespace lvx
