// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

#include "twips.h"

namespace lvx {

// The client areas: the page window's holds the page and the button panel,
// a zoom window's its half page and its three buttons.
inline constexpr QSize kPageClientSize{PixelsFromTwips(6911), PixelsFromTwips(8055)};
inline constexpr QSize kZoomClientSize{PixelsFromTwips(11685), PixelsFromTwips(8100)};

}  // namespace lvx
