// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <cstdint>

namespace lvx {

// The colour of a 0x00BBGGRR value; the top byte is not part of it.
inline QColor ColourFromBgr(std::uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFFU), static_cast<int>((colour >> 8) & 0xFFU),
                static_cast<int>((colour >> 16) & 0xFFU));
}

}  // namespace lvx
