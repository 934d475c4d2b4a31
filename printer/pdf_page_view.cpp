// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_page_view.h"

namespace lvx {

double PdfPageView::TextAdvance(const QFontMetricsF& metrics, const QString& text) {
  if (const std::optional<double> advance = engine_.TextAdvance(font(), text)) return *advance;
  return PainterPageView::TextAdvance(metrics, text);
}

void PdfPageView::DrawTextLine(QPainter& painter, QPointF baseline, const QString& text) {
  if (!engine_.DrawText(baseline, font(), textColour(), text)) {
    PainterPageView::DrawTextLine(painter, baseline, text);
  }
}

}  // namespace lvx
