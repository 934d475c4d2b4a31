// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

namespace lvx::testing {

// A GIF of `image` (Qt reads GIF but does not write it). Colours are cut to
// a small palette; the picture data uses 8-bit codes and restarts the code
// table often, which needs no compression at all.
QByteArray GifOf(const QImage& image);

}  // namespace lvx::testing
