// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lvx {

// Appends `value` as a PDF number, followed by a blank: at most `decimals`
// digits after the point, trailing zeros dropped ("12.5 ", "100 ", "0 ").
void AppendNumber(std::string& out, double value, int decimals = 3);

// Appends `bytes` as a PDF literal string, "(...)", escaping what the
// syntax and line-end conversion would change.
void AppendLiteral(std::string& out, std::string_view bytes);

// `text` as a PDF text string: UTF-16 big-endian with a byte-order mark, in
// hexadecimal ("<FEFF...>").
std::string TextString(const QString& text);

// A name made of the letters, digits and '-' of `text` (PostScript font
// names); "Font" when none is left.
std::string PlainName(std::string_view text);

}  // namespace lvx
