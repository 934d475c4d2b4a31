// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>

namespace lvx {

// The page window's pointer over the page: a 32 by 32 monochrome
// magnifying glass, a round lens about 15 pixels across with a short
// handle towards the lower right, its hot spot (9, 8) the lens's centre.
QCursor GlassCursor();

}  // namespace lvx
