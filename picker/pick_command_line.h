// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace lvx {

// True when lvxpick's command text asks to hide the copies: "/NOCOPIES" in
// any letter case, after "/CMD" when that key is present (see
// CommandArguments). Never throws.
bool HideCopiesRequested(std::string_view commandText);

}  // namespace lvx
