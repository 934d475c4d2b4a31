// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page_view.h"
#include "sheet_pages.h"

namespace lvx {

// A PageView on the pages of a print job: each call that puts ink on the
// page first has the page opened on the device, then goes to `view`, its
// positions moved from the printable area's corner (the device's Origin)
// to the page's; font settings go straight through. Calls are dropped once
// the device has failed. Never throws.
class SheetPageView : public PageView {
 public:
  SheetPageView(SheetPages& pages, PageView& view) : pages_(pages), view_(view) {}

  void Clear() override;
  void Hide() override {}
  void DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour, bool filled) override;
  void MoveTo(float x, float y) override;
  void PrintText(std::string_view text) override;
  void PrintNumber(std::int16_t number) override;
  bool SetFontName(std::string_view name) override { return view_.SetFontName(name); }
  bool SetFontSize(float points) override { return view_.SetFontSize(points); }
  bool SetBold(bool on) override { return view_.SetBold(on); }
  bool SetItalic(bool on) override { return view_.SetItalic(on); }
  bool SetUnderline(bool on) override { return view_.SetUnderline(on); }
  bool SetTransparent(bool on) override { return view_.SetTransparent(on); }
  bool SetTextColour(std::int32_t colour) override { return view_.SetTextColour(colour); }
  void DrawPicture(const Picture& picture, float x, float y, std::optional<Size> size) override;

 private:
  SheetPages& pages_;
  PageView& view_;
  // The text position as the document set it; placed on the page only once
  // the page is open, since a page's origin depends on its orientation.
  float textX_ = 0.0F;
  float textY_ = 0.0F;
  bool movePending_ = false;

  bool OpenPage();
};

}  // namespace lvx
