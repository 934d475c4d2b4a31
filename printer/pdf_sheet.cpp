// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_sheet.h"

#include <QPageLayout>
#include <QPageSize>

namespace lvx {

PdfSheet::PdfSheet(const QString& fileName, const QString& title) {
  printer_.setOutputFormat(QPrinter::PdfFormat);
  printer_.setOutputFileName(fileName);
  printer_.setDocName(title);
  printer_.setCreator(QStringLiteral("lvxprint"));
  printer_.setFullPage(true);
  printer_.setPageSize(QPageSize(QPageSize::A4));
  printer_.setCopyCount(1);
}

// Takes effect for the page opened next, not for the one being drawn.
void PdfSheet::Orient(std::int16_t orientation) {
  printer_.setPageOrientation(orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool PdfSheet::OpenFirstPage(std::int16_t orientation) {
  Orient(orientation);
  return painter_.begin(&printer_);
}

bool PdfSheet::OpenNextPage(std::int16_t orientation) {
  Orient(orientation);
  return printer_.newPage();
}

bool PdfSheet::Finish() {
  return painter_.isActive() && painter_.end();
}

}  // namespace lvx
