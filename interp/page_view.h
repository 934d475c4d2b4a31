// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "picture.h"

namespace lvx {

// A drawing surface the record handlers call. Coordinates and lengths are in
// the view's own units; colours are 0x00BBGGRR. Operations never throw: a
// call the view cannot carry out leaves it as it was, and the font setters
// report that by returning false.
class PageView {
 public:
  virtual ~PageView() = default;

  // Erases the view to its background; the text position goes to (0, 0).
  virtual void Clear() = 0;
  // Closes the view's window if it is shown; its drawing stays.
  virtual void Hide() = 0;

  // Outline (thinnest line) or filled rectangle in the colour.
  virtual void DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour,
                        bool filled) = 0;

  // Top-left corner of the next character cell.
  virtual void MoveTo(float x, float y) = 0;
  // Text as Windows-1252 bytes, in the current font and text colour.
  virtual void PrintText(std::string_view text) = 0;
  // The number with one blank before and one after it.
  virtual void PrintNumber(std::int16_t number) = 0;

  virtual bool SetFontName(std::string_view name) = 0;
  virtual bool SetFontSize(float points) = 0;
  virtual bool SetBold(bool on) = 0;
  virtual bool SetItalic(bool on) = 0;
  virtual bool SetUnderline(bool on) = 0;
  // False makes text erase its cell to the background before drawing.
  virtual bool SetTransparent(bool on) = 0;
  virtual bool SetTextColour(std::int32_t colour) = 0;

  // Picture with its top-left corner at (x, y), stretched to width by height
  // when a size is given, else at its own size.
  struct Size {
    float width;
    float height;
  };
  virtual void DrawPicture(const Picture& picture, float x, float y,
                           std::optional<Size> size = std::nullopt) = 0;
};

}  // namespace lvx
