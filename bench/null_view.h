// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page_view.h"

namespace lvx::bench {

// A view that draws nothing: what is left is the interpreter's own work.
class NullView : public PageView {
 public:
  void Clear() override {}
  void Hide() override {}
  void DrawRect(float, float, float, float, std::int32_t, bool) override {}
  void MoveTo(float, float) override {}
  void PrintText(std::string_view) override {}
  void PrintNumber(std::int16_t) override {}
  bool SetFontName(std::string_view) override { return true; }
  bool SetFontSize(float) override { return true; }
  bool SetBold(bool) override { return true; }
  bool SetItalic(bool) override { return true; }
  bool SetUnderline(bool) override { return true; }
  bool SetTransparent(bool) override { return true; }
  bool SetTextColour(std::int32_t) override { return true; }
  void DrawPicture(const Picture&, float, float, std::optional<Size>) override {}
};

}  // namespace lvx::bench
