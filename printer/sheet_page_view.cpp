// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_page_view.h"

namespace lvx {

void SheetPageView::Clear() {
  if (pages_.OpenPage()) view_.Clear();
}

void SheetPageView::DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour,
                             bool filled) {
  if (pages_.OpenPage()) view_.DrawRect(x1, y1, x2, y2, colour, filled);
}

void SheetPageView::PrintText(std::string_view text) {
  if (pages_.OpenPage()) view_.PrintText(text);
}

void SheetPageView::PrintNumber(std::int16_t number) {
  if (pages_.OpenPage()) view_.PrintNumber(number);
}

void SheetPageView::DrawPicture(const Picture& picture, float x, float y,
                                std::optional<Size> size) {
  if (pages_.OpenPage()) view_.DrawPicture(picture, x, y, size);
}

}  // namespace lvx
