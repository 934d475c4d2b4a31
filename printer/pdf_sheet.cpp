// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_sheet.h"

namespace lvx {
namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

}  // namespace

void PdfSheet::StartPage(std::int16_t orientation) {
  orientation_ = orientation;
  const SheetPoint size = paper_.PageSize(orientation);
  document_.StartPage(QSizeF(size.x * kPointsPerMm, size.y * kPointsPerMm));
}

bool PdfSheet::OpenFirstPage(std::int16_t orientation) {
  StartPage(orientation);
  return painter_.begin(&document_);
}

bool PdfSheet::OpenNextPage(std::int16_t orientation) {
  StartPage(orientation);
  return document_.ok();
}

bool PdfSheet::Finish() {
  if (!painter_.isActive()) return false;
  painter_.end();
  return document_.Finish();
}

}  // namespace lvx
