// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_paper.h"

namespace lvx {

SheetPoint SheetPaper::PageSize(std::int16_t orientation) const {
  if (orientation == 2) return {height, width};
  return {width, height};
}

SheetPoint SheetPaper::Origin(std::int16_t orientation) const {
  if (orientation == 2) return {bottom, left};
  return {left, top};
}

}  // namespace lvx
