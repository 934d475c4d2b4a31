// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_page_view.h"

namespace lvx {

bool SheetPageView::OpenPage() {
  if (!pages_.OpenPage()) return false;
  if (movePending_) {
    const SheetPoint origin = pages_.origin();
    view_.MoveTo(textX_ + static_cast<float>(origin.x), textY_ + static_cast<float>(origin.y));
    movePending_ = false;
  }
  return true;
}

void SheetPageView::Clear() {
  if (OpenPage()) view_.Clear();
}

void SheetPageView::DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour,
                             bool filled) {
  if (!OpenPage()) return;
  const SheetPoint origin = pages_.origin();
  const auto dx = static_cast<float>(origin.x);
  const auto dy = static_cast<float>(origin.y);
  view_.DrawRect(x1 + dx, y1 + dy, x2 + dx, y2 + dy, colour, filled);
}

void SheetPageView::MoveTo(float x, float y) {
  textX_ = x;
  textY_ = y;
  movePending_ = true;
}

void SheetPageView::PrintText(std::string_view text) {
  if (OpenPage()) view_.PrintText(text);
}

void SheetPageView::PrintNumber(std::int16_t number) {
  if (OpenPage()) view_.PrintNumber(number);
}

void SheetPageView::DrawPicture(const Picture& picture, float x, float y,
                                std::optional<Size> size) {
  if (!OpenPage()) return;
  const SheetPoint origin = pages_.origin();
  view_.DrawPicture(picture, x + static_cast<float>(origin.x), y + static_cast<float>(origin.y),
                    size);
}

}  // namespace lvx
