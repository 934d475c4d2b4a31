// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QString>
#include <string>

#include "pdf_document.h"
#include "pdf_paint_engine.h"
#include "sheet_pages.h"
#include "sheet_paper.h"

namespace lvx {

// A print job written as one PDF file: pages of one paper (A4 unless told
// otherwise), portrait or landscape page by page, the whole sheet
// addressable; Origin is the corner of the paper's printable area. Drawing goes through painter(),
// which is active from the first page to Finish. Each page goes to the file when the next one
// opens; whether the file is complete is for the caller to check after Finish. Never throws.
class PdfSheet : public SheetDevice {
 public:
  // Writes to the file open at `fd` (which stays the caller's); `title`
  // names the job inside the file.
  PdfSheet(int fd, const QString& title, SheetPaper paper = SheetPaper::A4())
      : document_(fd, title), paper_(std::move(paper)) {}

  QPainter& painter() { return painter_; }
  // The engine behind painter(), for what it draws without QPainter.
  PdfPaintEngine& engine() { return *static_cast<PdfPaintEngine*>(document_.paintEngine()); }
  // Logical dots per inch of the pages.
  int resolution() const { return PdfDocument::kResolution; }

  bool OpenFirstPage(std::int16_t orientation) override;
  bool OpenNextPage(std::int16_t orientation) override;
  bool Finish() override;
  SheetPoint Origin() const override { return paper_.Origin(orientation_); }

 private:
  void StartPage(std::int16_t orientation);

  PdfDocument document_;
  SheetPaper paper_;
  std::int16_t orientation_ = 1;
  QPainter painter_;
};

}  // namespace lvx
