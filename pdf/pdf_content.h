// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPointF>
#include <QTransform>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// One page's content stream as it is drawn. It remembers the graphics
// state it has set, so that a colour, a line style or a font is written
// only when it changes: a page of invoices sets the same few again and
// again. Texts that follow each other share one text object, each placed
// from the one before, and a state change between them goes inside it.
// Coordinates are PDF user space (points, y upwards).
class PdfContent {
 public:
  // Empties the stream for a new page; the state is a new page's.
  void Clear();
  const std::string& data() const { return data_; }

  void FillColour(QRgb colour);
  void StrokeColour(QRgb colour);
  // Width 0 is the device's thinnest line.
  void LineWidth(double width);
  // PDF cap (0 butt, 1 round, 2 square) and join (0 miter, 1 round, 2 bevel).
  void LineStyle(int cap, int join, double miterLimit);
  // Dash lengths and phase in user space; no lengths for a solid line.
  void Dash(const std::vector<double>& lengths, double phase);
  // "q" and "Q": the remembered state is saved and restored with them.
  void Save();
  void Restore();
  // Restores every state still saved, as a page must before it ends.
  void RestoreAll();
  // Whether fills and strokes have these opacities (0..255) now.
  bool HasOpacity(int fill, int stroke) const {
    return fill == state_.fillAlpha && stroke == state_.strokeAlpha;
  }
  // Opacity of fills and strokes, 0..255, through the graphics state
  // resource `name` that stands for this pair.
  void Opacity(std::string_view name, int fill, int stroke);
  // Concatenates `matrix` to the current transformation ("cm").
  void Concat(const QTransform& matrix);

  void MoveTo(QPointF point);
  void LineTo(QPointF point);
  void CurveTo(QPointF control1, QPointF control2, QPointF end);
  void Rect(double x, double y, double width, double height);
  // Writes a painting or clipping operator ("f", "S", "B*", "W n", ...).
  void Operator(std::string_view op);

  // A text object: BeginText, Font, TextMatrix, glyph strings, EndText.
  void BeginText();
  void EndText();
  void Font(std::string_view resource, double size);
  // Text rendering mode: 0 fill, 2 fill and stroke (emboldened).
  void TextRender(int mode);
  // Places the text at (x, y) unrotated, or with the whole matrix.
  void TextAt(double x, double y);
  void TextMatrix(const QTransform& matrix);
  // Appends raw operators (a TJ array, "/Im1 Do").
  std::string& Raw() { return data_; }

 private:
  struct State {
    QRgb fill = 0xFF000000;
    QRgb stroke = 0xFF000000;
    double lineWidth = 1;
    int cap = 0;
    int join = 0;
    double miterLimit = 10;
    std::string dash;
    std::string font;
    double fontSize = 0;
    int render = 0;
    int fillAlpha = 255;
    int strokeAlpha = 255;
  };

  void Point(QPointF point);
  void Colour(QRgb colour, const char* grayOp, const char* rgbOp);
  // Sets `current` (the fill or the stroke colour) to `colour`, written
  // only when it changes.
  void SetColour(QRgb& current, QRgb colour, const char* grayOp, const char* rgbOp);
  // Around a state operator that a text object may hold: one written right
  // after a text object ends goes into it, so that the next text can
  // continue that object.
  bool ReopenText();
  void CloseText(bool reopened);

  std::string data_;
  State state_;
  std::vector<State> saved_;
  // Where the last text object ended ("ET" and its line end), while
  // nothing has been written since.
  std::size_t textEnd_ = std::string::npos;
  // The start of the current text line in hundredths of a point, and
  // whether it is known (it is not after a whole text matrix).
  std::int64_t lineX_ = 0;
  std::int64_t lineY_ = 0;
  bool lineKnown_ = false;
};

}  // namespace lvx
