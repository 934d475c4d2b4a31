// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace lvx {

// The picker's logo: a sheet leaving a printer beside the name "lvx",
// 86 by 35 logical pixels, drawn for a screen of `devicePixelRatio`.
QPixmap PickerLogo(qreal devicePixelRatio);

}  // namespace lvx
