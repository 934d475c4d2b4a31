// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lvx {

// Windows-1252 bytes, the settings file's text, as a Unicode string.
QString FromBytes1252(std::string_view bytes);

// A Unicode string as Windows-1252 bytes; a character the code page lacks
// becomes "?".
std::string ToBytes1252(const QString& text);

}  // namespace lvx
