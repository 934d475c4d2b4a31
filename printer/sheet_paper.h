// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace lvx {

// A point or a size on a sheet, in millimetres.
struct SheetPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const SheetPoint&) const = default;
};

// The paper a job is laid out on, as a printer describes it: its size held
// upright and the unprintable margins round its printable area, all in
// millimetres, and its media name for the printer ("iso_a4_210x297mm").
struct SheetPaper {
  std::string media = "iso_a4_210x297mm";
  double width = 210.0;
  double height = 297.0;
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;

  // A4 with the origin at the sheet's corner: the paper of PDF files.
  static SheetPaper A4() { return {}; }

  // The page in `orientation` (1 portrait, 2 landscape).
  SheetPoint PageSize(std::int16_t orientation) const;
  // The top-left corner of the printable area on that page: where a
  // document's (0, 0) goes. Landscape turns the sheet a quarter turn
  // anticlockwise, so the sheet's bottom margin lies on the page's left
  // and its left margin at the page's top.
  SheetPoint Origin(std::int16_t orientation) const;
};

}  // namespace lvx
