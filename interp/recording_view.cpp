// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_view.h"

#include <charconv>
#include <cstdio>

#include "cp1252.h"

namespace lvx {

std::string FormatFloat(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatColour(std::int32_t colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&H%08X", static_cast<unsigned>(colour));
  return buffer;
}

void RecordingView::Emit(const std::string& call) {
  sink_.push_back(name_ + " " + call);
}

bool RecordingView::EmitFlag(const char* call, bool on) {
  Emit(std::string(call) + (on ? " 1" : " 0"));
  return true;
}

void RecordingView::Clear() {
  Emit("Clear");
}
void RecordingView::Hide() {
  Emit("Hide");
}

void RecordingView::DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour,
                             bool filled) {
  Emit("DrawRect " + FormatFloat(x1) + " " + FormatFloat(y1) + " " + FormatFloat(x2) + " " +
       FormatFloat(y2) + " " + FormatColour(colour) + (filled ? " filled" : " outline"));
}

void RecordingView::MoveTo(float x, float y) {
  Emit("MoveTo " + FormatFloat(x) + " " + FormatFloat(y));
}

void RecordingView::PrintText(std::string_view text) {
  Emit("PrintText \"" + Utf8From1252(text) + "\"");
}

void RecordingView::PrintNumber(std::int16_t number) {
  Emit("PrintNumber " + std::to_string(number));
}

bool RecordingView::SetFontName(std::string_view name) {
  const bool known = unknownFonts.count(std::string(name)) == 0;
  Emit("SetFontName \"" + Utf8From1252(name) + "\"" + (known ? "" : " failed"));
  return known;
}

bool RecordingView::SetFontSize(float points) {
  const bool usable = points >= 1 && points <= 2160;
  Emit("SetFontSize " + FormatFloat(points) + (usable ? "" : " failed"));
  return usable;
}

bool RecordingView::SetBold(bool on) {
  return EmitFlag("SetBold", on);
}
bool RecordingView::SetItalic(bool on) {
  return EmitFlag("SetItalic", on);
}
bool RecordingView::SetUnderline(bool on) {
  return EmitFlag("SetUnderline", on);
}
bool RecordingView::SetTransparent(bool on) {
  return EmitFlag("SetTransparent", on);
}

bool RecordingView::SetTextColour(std::int32_t colour) {
  Emit("SetTextColour " + FormatColour(colour));
  return true;
}

void RecordingView::DrawPicture(const Picture& picture, float x, float y,
                                std::optional<Size> size) {
  std::string call = "DrawPicture " + FormatFloat(x) + " " + FormatFloat(y);
  if (size) call += " " + FormatFloat(size->width) + " " + FormatFloat(size->height);
  call += " own " + FormatFloat(static_cast<float>(picture.WidthHmm())) + "x" +
          FormatFloat(static_cast<float>(picture.HeightHmm()));
  Emit(call);
}

}  // namespace lvx
