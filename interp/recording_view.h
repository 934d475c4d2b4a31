// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <vector>

#include "page_view.h"

namespace lvx {

// A PageView that writes every call as one line of text ("upper MoveTo 20
// 30"), for tracing and for tests. Font names listed in `unknownFonts` and
// sizes outside 1..2160 points fail, as they do on a real view; a failed
// call is traced with " failed" at its end.
class RecordingView : public PageView {
 public:
  RecordingView(std::string name, std::vector<std::string>& sink)
      : name_(std::move(name)), sink_(sink) {}

  std::set<std::string> unknownFonts;

  void Clear() override;
  void Hide() override;
  void DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour, bool filled) override;
  void MoveTo(float x, float y) override;
  void PrintText(std::string_view text) override;
  void PrintNumber(std::int16_t number) override;
  bool SetFontName(std::string_view name) override;
  bool SetFontSize(float points) override;
  bool SetBold(bool on) override;
  bool SetItalic(bool on) override;
  bool SetUnderline(bool on) override;
  bool SetTransparent(bool on) override;
  bool SetTextColour(std::int32_t colour) override;
  void DrawPicture(const Picture& picture, float x, float y, std::optional<Size> size) override;

 private:
  void Emit(const std::string& call);
  bool EmitFlag(const char* call, bool on);

  std::string name_;
  std::vector<std::string>& sink_;
};

// Shortest text that reads back as the same float ("20.2", "0.1").
std::string FormatFloat(float value);
// "&H" and eight upper-case hex digits.
std::string FormatColour(std::int32_t colour);

}  // namespace lvx
