// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace lvx {

// The two halves of the page that the zoom windows show.
enum class ZoomHalf { kUpper, kLower };

// The page window's pointers over its surface.
enum class PagePointer { kGlass, kArrow, kBusy };

// The half-size page is clickable left of this line; the panel starts
// right of it.
inline constexpr float kPageAreaRightMm = 102.0F;
// A click at or below this line opens the lower half. It is the page's
// 142 mm line, not the zoom windows' 140 mm split: the two differ on purpose.
inline constexpr float kZoomClickSplitMm = 71.0F;

// The pointer for the last mouse position: the glass up to and including
// the page area's right edge, the arrow beyond it, the hourglass while busy.
inline PagePointer PointerFor(float mouseX, bool busy) {
  if (busy) return PagePointer::kBusy;
  return mouseX > kPageAreaRightMm ? PagePointer::kArrow : PagePointer::kGlass;
}

// The zoom window a click on the page opens, from the last mouse position
// (a click carries none of its own); nothing for a click at or right of the
// page area's edge, although the glass shows exactly on it.
inline std::optional<ZoomHalf> ZoomHalfForClick(float mouseX, float mouseY) {
  if (mouseX >= kPageAreaRightMm) return std::nullopt;
  return mouseY >= kZoomClickSplitMm ? ZoomHalf::kLower : ZoomHalf::kUpper;
}

}  // namespace lvx
