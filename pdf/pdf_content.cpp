// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_content.h"

#include "pdf_syntax.h"

namespace lvx {

void PdfContent::Clear() {
  data_.clear();
  state_ = State();
  saved_.clear();
  textEnd_ = std::string::npos;
  lineKnown_ = false;
}

bool PdfContent::ReopenText() {
  if (data_.size() != textEnd_) return false;
  data_.erase(textEnd_ - 3);
  return true;
}

void PdfContent::CloseText(bool reopened) {
  if (!reopened) return;
  data_ += "ET\n";
  textEnd_ = data_.size();
}

void PdfContent::Colour(QRgb colour, const char* grayOp, const char* rgbOp) {
  const int r = qRed(colour);
  const int g = qGreen(colour);
  const int b = qBlue(colour);
  AppendNumber(data_, r / 255.0);
  if (r == g && g == b) {
    data_ += grayOp;
  } else {
    AppendNumber(data_, g / 255.0);
    AppendNumber(data_, b / 255.0);
    data_ += rgbOp;
  }
  data_ += '\n';
}

void PdfContent::SetColour(QRgb& current, QRgb colour, const char* grayOp, const char* rgbOp) {
  colour |= 0xFF000000;
  if (colour == current) return;
  current = colour;
  const bool inText = ReopenText();
  Colour(colour, grayOp, rgbOp);
  CloseText(inText);
}

void PdfContent::FillColour(QRgb colour) {
  SetColour(state_.fill, colour, "g", "rg");
}

void PdfContent::StrokeColour(QRgb colour) {
  SetColour(state_.stroke, colour, "G", "RG");
}

void PdfContent::LineWidth(double width) {
  if (width == state_.lineWidth) return;
  state_.lineWidth = width;
  const bool inText = ReopenText();
  AppendNumber(data_, width);
  data_ += "w\n";
  CloseText(inText);
}

void PdfContent::LineStyle(int cap, int join, double miterLimit) {
  const bool inText = ReopenText();
  if (cap != state_.cap) {
    state_.cap = cap;
    data_ += std::to_string(cap) + " J\n";
  }
  if (join != state_.join) {
    state_.join = join;
    data_ += std::to_string(join) + " j\n";
  }
  if (join == 0 && miterLimit != state_.miterLimit) {
    state_.miterLimit = miterLimit;
    AppendNumber(data_, miterLimit);
    data_ += "M\n";
  }
  CloseText(inText);
}

void PdfContent::Dash(const std::vector<double>& lengths, double phase) {
  std::string dash = "[";
  for (const double length : lengths) AppendNumber(dash, length);
  dash += "]";
  AppendNumber(dash, lengths.empty() ? 0 : phase);
  if (dash == state_.dash || (state_.dash.empty() && lengths.empty())) return;
  state_.dash = dash;
  const bool inText = ReopenText();
  data_ += dash + "d\n";
  CloseText(inText);
}

void PdfContent::Save() {
  saved_.push_back(state_);
  data_ += "q\n";
}

void PdfContent::Restore() {
  if (saved_.empty()) return;
  state_ = saved_.back();
  saved_.pop_back();
  data_ += "Q\n";
}

void PdfContent::Opacity(std::string_view name, int fill, int stroke) {
  if (fill == state_.fillAlpha && stroke == state_.strokeAlpha) return;
  state_.fillAlpha = fill;
  state_.strokeAlpha = stroke;
  const bool inText = ReopenText();
  data_ += '/';
  data_ += name;
  data_ += " gs\n";
  CloseText(inText);
}

void PdfContent::RestoreAll() {
  while (!saved_.empty()) Restore();
}

void PdfContent::Concat(const QTransform& m) {
  for (const double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) {
    AppendNumber(data_, v, 5);
  }
  data_ += "cm\n";
}

void PdfContent::Point(QPointF point) {
  AppendNumber(data_, point.x(), 2);
  AppendNumber(data_, point.y(), 2);
}

void PdfContent::MoveTo(QPointF point) {
  Point(point);
  data_ += "m\n";
}

void PdfContent::LineTo(QPointF point) {
  Point(point);
  data_ += "l\n";
}

void PdfContent::CurveTo(QPointF control1, QPointF control2, QPointF end) {
  Point(control1);
  Point(control2);
  Point(end);
  data_ += "c\n";
}

void PdfContent::Rect(double x, double y, double width, double height) {
  for (const double v : {x, y, width, height}) AppendNumber(data_, v, 2);
  data_ += "re\n";
}

void PdfContent::Operator(std::string_view op) {
  data_ += op;
  data_ += '\n';
}

void PdfContent::BeginText() {
  // A text right after another continues its text object, where the next
  // line is placed from the last.
  if (lineKnown_ && ReopenText()) return;
  data_ += "BT\n";
  lineX_ = 0;
  lineY_ = 0;
  lineKnown_ = true;
}

void PdfContent::EndText() {
  data_ += "ET\n";
  textEnd_ = data_.size();
}

void PdfContent::Font(std::string_view resource, double size) {
  if (resource == state_.font && size == state_.fontSize) return;
  state_.font = resource;
  state_.fontSize = size;
  const bool inText = ReopenText();
  data_ += '/';
  data_ += resource;
  data_ += ' ';
  AppendNumber(data_, size);
  data_ += "Tf\n";
  CloseText(inText);
}

void PdfContent::TextRender(int mode) {
  if (mode == state_.render) return;
  state_.render = mode;
  const bool inText = ReopenText();
  data_ += std::to_string(mode) + " Tr\n";
  CloseText(inText);
}

void PdfContent::TextAt(double x, double y) {
  // In whole hundredths, so that the steps from line to line add up to
  // exactly where each line is.
  const std::int64_t atX = FixedUnits(x, 2);
  const std::int64_t atY = FixedUnits(y, 2);
  AppendFixed(data_, atX - lineX_, 2);
  AppendFixed(data_, atY - lineY_, 2);
  data_ += "Td\n";
  lineX_ = atX;
  lineY_ = atY;
}

void PdfContent::TextMatrix(const QTransform& m) {
  for (const double v : {m.m11(), m.m12(), m.m21(), m.m22()}) AppendNumber(data_, v, 5);
  AppendNumber(data_, m.dx(), 2);
  AppendNumber(data_, m.dy(), 2);
  data_ += "Tm\n";
  lineKnown_ = false;
}

}  // namespace lvx
