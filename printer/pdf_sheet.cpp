// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_sheet.h"

namespace lvx {
namespace {

// A4 in points.
constexpr double kShortSide = 210.0 * 72.0 / 25.4;
constexpr double kLongSide = 297.0 * 72.0 / 25.4;

QSizeF PageSize(std::int16_t orientation) {
  return orientation == 2 ? QSizeF(kLongSide, kShortSide) : QSizeF(kShortSide, kLongSide);
}

}  // namespace

bool PdfSheet::OpenFirstPage(std::int16_t orientation) {
  document_.StartPage(PageSize(orientation));
  return painter_.begin(&document_);
}

bool PdfSheet::OpenNextPage(std::int16_t orientation) {
  document_.StartPage(PageSize(orientation));
  return document_.ok();
}

bool PdfSheet::Finish() {
  if (!painter_.isActive()) return false;
  painter_.end();
  return document_.Finish();
}

}  // namespace lvx
