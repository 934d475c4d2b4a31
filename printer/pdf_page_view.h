// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "painter_page_view.h"
#include "pdf_paint_engine.h"
#include "pdf_sheet.h"

namespace lvx {

// The PainterPageView of a PDF job: lines of text go straight to the PDF
// writer, which shapes each text once and keeps what it shaped for the
// next page, instead of through QPainter's text engine and then the
// writer. What the writer cannot take that way is drawn as on any painter,
// so the pages look the same either way. Never throws.
class PdfPageView : public PainterPageView {
 public:
  PdfPageView(PdfSheet& sheet, ViewScale scale)
      : PainterPageView(sheet.painter(), scale), engine_(sheet.engine()) {}

 protected:
  double TextAdvance(const QFontMetricsF& metrics, const QString& text) override;
  void DrawTextLine(QPainter& painter, QPointF baseline, const QString& text) override;

 private:
  PdfPaintEngine& engine_;
};

}  // namespace lvx
