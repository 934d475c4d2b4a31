// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string_view>

#include "page_pointer.h"

namespace lvx {

// The page window's caption: the file name, five blanks, the document's
// information text (Windows-1252 bytes). The file name is a name of the
// file system and is decoded as such.
QString PageCaption(std::string_view docFileName, std::string_view infoText);

// "zoom sopra " or "zoom sotto " and the file name.
QString ZoomCaption(ZoomHalf half, std::string_view docFileName);

// A caption as setWindowTitle takes it, so that it shows as written: Qt
// reads "[*]" as the place of a modified mark and drops it otherwise, and
// shows a doubled "[*][*]" as one "[*]".
QString LiteralWindowTitle(const QString& caption);

// A caption written one character per line for the tall zoom buttons; the
// "&" stays with its letter on the first line ("&Avanti" gives "&A", "v",
// "a", "n", "t", "i").
QString OneCharacterPerLine(const QString& caption);

}  // namespace lvx
