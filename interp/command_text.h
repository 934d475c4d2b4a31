// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
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

// Prints the usage for "--help" or "<program> <version>" for "--version"
// to standard output when that is the whole command text; true when it
// did, and the program then ends with status 0.
bool AnswerInformationRequest(std::string_view commandText, std::string_view program,
                              std::string_view version, std::string_view usage);

}  // namespace lvx
