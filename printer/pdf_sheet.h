// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QPrinter>
#include <QString>

#include "sheet_pages.h"

namespace lvx {

// A print job written as one PDF file: A4 pages, portrait or landscape page
// by page, the whole sheet addressable (the origin is the page's top-left
// corner). Drawing goes through painter(), which is active from the first
// page to Finish. The file is written only as the pages open; whether it
// is complete is for the caller to check after Finish. Never throws.
class PdfSheet : public SheetDevice {
 public:
  // `title` names the job inside the file.
  PdfSheet(const QString& fileName, const QString& title);

  QPainter& painter() { return painter_; }
  // Logical dots per inch of the pages.
  int resolution() const { return printer_.resolution(); }

  bool OpenFirstPage(std::int16_t orientation) override;
  bool OpenNextPage(std::int16_t orientation) override;
  bool Finish() override;

 private:
  void Orient(std::int16_t orientation);

  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
};

}  // namespace lvx
