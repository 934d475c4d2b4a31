// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lvx {

// `text` made fit to be printed as (part of) one line on a terminal: control
// characters (C0, DEL, and C1 written in UTF-8) and bytes that are no part
// of valid UTF-8 become visible escapes ("\n", "\r", "\t", "\x1B"), so a
// name holding a line end or an escape sequence shows as what it is. Other
// text, backslashes included, stays as it is. Never throws but bad_alloc.
std::string PrintableLine(std::string_view text);

}  // namespace lvx
