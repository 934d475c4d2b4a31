// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

namespace lvx {

// Whether picture data holds everything its headers promise. Qt's readers
// for Windows bitmaps, JPEG and GIF turn a file cut short into a picture
// with a blank or grey part; this walks those formats (and icons) far
// enough to tell. False for data cut short or contradicting itself; true
// for formats it does not know, whose readers report such faults
// themselves. Never throws.
bool LooksComplete(QByteArrayView data);

}  // namespace lvx
