// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <optional>

#include "pdf_fonts.h"

namespace lvx {

class PdfDocument;

// The paint engine of a PdfDocument: turns what a QPainter draws into the
// page's content. Solid fills, strokes (cosmetic ones as the thinnest
// line), clipping, opacity, pictures and text (shaped glyphs of embedded
// fonts, so it stays text) go to the page as they are; fills with
// patterns or gradients are drawn as pictures. Text can also come
// straight from a view that lays out its own lines (TextAdvance, DrawText),
// so that it is shaped once rather than by QPainter's text engine first.
// Never throws.
class PdfPaintEngine : public QPaintEngine {
 public:
  explicit PdfPaintEngine(PdfDocument& document);

  bool begin(QPaintDevice* device) override;
  bool end() override;
  void updateState(const QPaintEngineState& changed) override;

  void drawRects(const QRectF* rects, int count) override;
  void drawLines(const QLineF* lines, int count) override;
  void drawPoints(const QPointF* points, int count) override;
  void drawPath(const QPainterPath& path) override;
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
  void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override;
  void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags flags) override;
  void drawTextItem(const QPointF& point, const QTextItem& item) override;
  Type type() const override { return QPaintEngine::User; }

  // How far `text` in `font` moves the pen, in the device's dots; nothing
  // when the text has to go through QPainter: a face that cannot be
  // embedded, a character the face lacks or that a text engine lays out on
  // its own (a tab), an underlined, struck-out or overlined font.
  std::optional<double> TextAdvance(const QFont& font, const QString& text);
  // Draws `text` in `font` and `colour` with its baseline starting at
  // `baseline` in the device's dots, whatever the painter's transform,
  // within the painter's clip and opacity. False, with nothing drawn, where
  // TextAdvance gives nothing or the painter has not yet handed its clip or
  // opacity over.
  bool DrawText(QPointF baseline, const QFont& font, const QColor& colour, const QString& text);

 private:
  // From the device's dots, and from the painter's coordinates, to the
  // page's points, y upwards.
  QTransform DotsToPage() const;
  QTransform ToPage() const;
  void UpdateClip(const QPainterPath& path, Qt::ClipOperation operation);
  // Brings the page's clipping and opacity up to date before drawing.
  void Prepare(const QColor& fill, const QColor& stroke);
  void PaintPath(const QPainterPath& path, bool fill, bool stroke);
  void FillAsPicture(const QPainterPath& path);
  void SetPen(bool cosmetic);
  void WritePath(const QPainterPath& path, const QTransform& transform);
  void DrawTextAsPath(const QPointF& point, const QTextItem& item);
  // The face of `font` and the run of `text` in it, when the text can be
  // drawn straight; the run is valid until the face shapes again.
  const ShapedRun* StraightRun(const QFont& font, const QString& text, PdfFonts::Choice& choice);
  // Shows `run` with its glyph space (y up) placed by `glyphs` on the page.
  void ShowText(const PdfFonts::Choice& choice, double size, const ShapedRun& run,
                const QTransform& glyphs, const QColor& colour);

  PdfDocument& document_;
  QTransform matrix_;
  QPen pen_;
  QBrush brush_;
  double opacity_ = 1.0;
  bool smooth_ = false;
  bool hasClip_ = false;
  bool clipEnabled_ = true;
  QPainterPath clip_;  // in the device's dots
  int clipSerial_ = 0;
  int appliedClipSerial_ = -1;
  int appliedPage_ = -1;
  bool clipBlockOpen_ = false;
};

}  // namespace lvx
