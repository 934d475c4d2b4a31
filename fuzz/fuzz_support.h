// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "page_view.h"

namespace lvx::fuzz {

// A folder of this process's own, made on first use and kept for the run.
const std::string& ScratchFolder();

// Writes `bytes` to `name` in the scratch folder and returns its path.
std::string WriteScratch(std::string_view name, std::string_view bytes);

// A view that checks its arguments are finite where they must be and
// otherwise draws nothing.
class CheckingView : public PageView {
 public:
  void Clear() override {}
  void Hide() override {}
  void DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour, bool filled) override;
  void MoveTo(float x, float y) override;
  void PrintText(std::string_view text) override;
  void PrintNumber(std::int16_t) override {}
  bool SetFontName(std::string_view name) override { return !name.empty(); }
  bool SetFontSize(float points) override { return points >= 1 && points <= 2160; }
  bool SetBold(bool) override { return true; }
  bool SetItalic(bool) override { return true; }
  bool SetUnderline(bool) override { return true; }
  bool SetTransparent(bool) override { return true; }
  bool SetTextColour(std::int32_t) override { return true; }
  void DrawPicture(const Picture&, float, float, std::optional<Size>) override {}

  std::size_t calls = 0;
};

}  // namespace lvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
