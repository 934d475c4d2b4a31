// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace lvx {

// Appends `value` as a PDF number, followed by a blank: at most `decimals`
// digits after the point, trailing zeros dropped ("12.5 ", "100 ", "0 ").
void AppendNumber(std::string& out, double value, int decimals = 3);

// `value` in whole units of its `decimals`th decimal (0 to 6), rounded;
// 0 for what is not a number, and within what a reader takes.
std::int64_t FixedUnits(double value, int decimals);

// Appends `units` / 10^`decimals` exactly, in the same short form: a
// number kept in whole units of its last decimal ("-1505", 2 gives "-15.05 ").
void AppendFixed(std::string& out, std::int64_t units, int decimals);

// Appends `bytes` as a PDF literal string, "(...)", escaping what the
// syntax and line-end conversion would change.
void AppendLiteral(std::string& out, std::string_view bytes);

// `text` as a PDF text string: UTF-16 big-endian with a byte-order mark, in
// hexadecimal ("<FEFF...>").
std::string TextString(const QString& text);

// Where `content` (a content stream as written here) may be cut in two:
// the length of its longest start that ends with a line end outside any
// string; 0 when there is none.
std::size_t LastLineEnd(std::string_view content);

// A name made of the letters, digits and '-' of `text` (PostScript font
// names); "Font" when none is left.
std::string PlainName(std::string_view text);

}  // namespace lvx
