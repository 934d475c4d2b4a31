// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_paint_engine.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <cmath>

#include "pdf_document.h"

namespace lvx {
namespace {

constexpr double kPointsPerDot = 72.0 / PdfDocument::kResolution;
// Fills that a page cannot describe (patterns, gradients) become pictures
// at this resolution, and no larger than kMaxPictureSide dots a side.
constexpr double kPictureDpi = 300.0;
constexpr int kMaxPictureSide = 4096;
// How far an emboldened or slanted face is made up.
constexpr double kEmboldenPerPoint = 0.03;
constexpr double kSlant = 0.2;

// What this engine draws itself; QPainter draws the rest as pictures.
constexpr QPaintEngine::PaintEngineFeatures kFeatures =
    QPaintEngine::PrimitiveTransform | QPaintEngine::PixmapTransform | QPaintEngine::PainterPaths |
    QPaintEngine::Antialiasing | QPaintEngine::AlphaBlend | QPaintEngine::ConstantOpacity |
    QPaintEngine::PatternBrush | QPaintEngine::LinearGradientFill |
    QPaintEngine::RadialGradientFill | QPaintEngine::ConicalGradientFill |
    QPaintEngine::PatternTransform;

int Cap(Qt::PenCapStyle cap) {
  return cap == Qt::RoundCap ? 1 : cap == Qt::SquareCap ? 2 : 0;
}

int Join(Qt::PenJoinStyle join) {
  return join == Qt::RoundJoin ? 1 : join == Qt::BevelJoin ? 2 : 0;
}

bool IsCosmetic(const QPen& pen) {
  return pen.isCosmetic() || pen.widthF() == 0;
}

// Whether `text` is glyphs one after the other, as a shaper gives them;
// not when it holds a character that a text engine lays out on its own:
// a control (a tab moves to a stop), the soft hyphen.
bool IsPlainText(const QString& text) {
  for (const QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0xAD) return false;
  }
  return true;
}

// Points on the page when the painter does not scale.
double PointSize(const QFont& font) {
  return font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * kPointsPerDot;
}

}  // namespace

PdfPaintEngine::PdfPaintEngine(PdfDocument& document)
    : QPaintEngine(kFeatures), document_(document) {}

bool PdfPaintEngine::begin(QPaintDevice*) {
  setActive(document_.ok());
  return isActive();
}

bool PdfPaintEngine::end() {
  setActive(false);
  return true;
}

QTransform PdfPaintEngine::DotsToPage() const {
  return QTransform(kPointsPerDot, 0, 0, -kPointsPerDot, 0, document_.pageSize().height());
}

QTransform PdfPaintEngine::ToPage() const {
  return matrix_ * DotsToPage();
}

void PdfPaintEngine::updateState(const QPaintEngineState& changed) {
  const DirtyFlags flags = changed.state();
  // The transform first: a clip comes in the coordinates of the transform
  // that goes with it.
  if (flags & DirtyTransform) matrix_ = changed.transform();
  if (flags & DirtyPen) pen_ = changed.pen();
  if (flags & DirtyBrush) brush_ = changed.brush();
  if (flags & DirtyOpacity) opacity_ = std::clamp(changed.opacity(), 0.0, 1.0);
  if (flags & DirtyHints) smooth_ = changed.renderHints() & QPainter::SmoothPixmapTransform;
  if (flags & DirtyClipPath) UpdateClip(changed.clipPath(), changed.clipOperation());
  if (flags & DirtyClipRegion) {
    QPainterPath path;
    path.addRegion(changed.clipRegion());
    UpdateClip(path, changed.clipOperation());
  }
  if ((flags & DirtyClipEnabled) && changed.isClipEnabled() != clipEnabled_) {
    clipEnabled_ = changed.isClipEnabled();
    ++clipSerial_;
  }
}

void PdfPaintEngine::UpdateClip(const QPainterPath& path, Qt::ClipOperation operation) {
  ++clipSerial_;
  if (operation == Qt::NoClip) {
    hasClip_ = false;
    clip_ = QPainterPath();
    return;
  }
  const QPainterPath onDevice = matrix_.map(path);
  clip_ = operation == Qt::IntersectClip && hasClip_ ? clip_.intersected(onDevice) : onDevice;
  hasClip_ = true;
  clipEnabled_ = true;
}

void PdfPaintEngine::Prepare(const QColor& fill, const QColor& stroke) {
  PdfContent& content = document_.content();
  if (appliedPage_ != document_.pageSerial()) {
    appliedPage_ = document_.pageSerial();
    appliedClipSerial_ = -1;
    clipBlockOpen_ = false;
  }
  if (appliedClipSerial_ != clipSerial_) {
    appliedClipSerial_ = clipSerial_;
    if (clipBlockOpen_) content.Restore();
    clipBlockOpen_ = hasClip_ && clipEnabled_;
    if (clipBlockOpen_) {
      content.Save();
      if (clip_.isEmpty()) {
        content.Rect(0, 0, 0, 0);
      } else {
        WritePath(clip_, DotsToPage());
      }
      content.Operator(clip_.fillRule() == Qt::OddEvenFill ? "W* n" : "W n");
    }
  }
  const int fillAlpha = static_cast<int>(std::lround(fill.alphaF() * opacity_ * 255));
  const int strokeAlpha = static_cast<int>(std::lround(stroke.alphaF() * opacity_ * 255));
  if (!content.HasOpacity(fillAlpha, strokeAlpha)) {
    content.Opacity(document_.OpacityState(fillAlpha, strokeAlpha), fillAlpha, strokeAlpha);
  }
}

void PdfPaintEngine::WritePath(const QPainterPath& path, const QTransform& t) {
  PdfContent& content = document_.content();
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element& e = path.elementAt(i);
    switch (e.type) {
      case QPainterPath::MoveToElement:
        content.MoveTo(t.map(QPointF(e)));
        break;
      case QPainterPath::LineToElement:
        content.LineTo(t.map(QPointF(e)));
        break;
      case QPainterPath::CurveToElement: {
        const QPainterPath::Element& c2 = path.elementAt(i + 1);
        const QPainterPath::Element& end = path.elementAt(i + 2);
        content.CurveTo(t.map(QPointF(e)), t.map(QPointF(c2)), t.map(QPointF(end)));
        i += 2;
        break;
      }
      case QPainterPath::CurveToDataElement:
        break;
    }
  }
}

void PdfPaintEngine::SetPen(bool cosmetic) {
  PdfContent& content = document_.content();
  content.StrokeColour(pen_.color().rgba());
  const double width = cosmetic ? pen_.widthF() * kPointsPerDot : pen_.widthF();
  content.LineWidth(width);
  content.LineStyle(Cap(pen_.capStyle()), Join(pen_.joinStyle()), pen_.miterLimit());
  std::vector<double> dashes;
  if (pen_.style() != Qt::SolidLine) {
    // Qt's dashes are in pen widths; a zero-width pen counts as one dot.
    const double unit = width > 0 ? width : kPointsPerDot;
    for (const qreal dash : pen_.dashPattern()) dashes.push_back(dash * unit);
  }
  content.Dash(dashes, pen_.dashOffset() * (width > 0 ? width : kPointsPerDot));
}

void PdfPaintEngine::PaintPath(const QPainterPath& path, bool fill, bool stroke) {
  fill = fill && brush_.style() != Qt::NoBrush;
  stroke = stroke && pen_.style() != Qt::NoPen;
  if (fill && brush_.style() != Qt::SolidPattern) {
    FillAsPicture(path);
    fill = false;
  }
  if (!fill && !stroke) return;
  Prepare(brush_.color(), pen_.color());
  PdfContent& content = document_.content();
  const bool evenOdd = path.fillRule() == Qt::OddEvenFill;
  const bool cosmetic = IsCosmetic(pen_);
  if (fill) content.FillColour(brush_.color().rgba());
  if (!stroke || cosmetic) {
    if (stroke) SetPen(true);
    WritePath(path, ToPage());
    content.Operator(!stroke ? (evenOdd ? "f*" : "f") : !fill ? "S" : evenOdd ? "B*" : "B");
    return;
  }
  // A pen of a width in the painter's units takes the painter's transform.
  if (fill) {
    WritePath(path, ToPage());
    content.Operator(evenOdd ? "f*" : "f");
  }
  content.Save();
  content.Concat(ToPage());
  SetPen(false);
  WritePath(path, QTransform());
  content.Operator("S");
  content.Restore();
}

void PdfPaintEngine::FillAsPicture(const QPainterPath& path) {
  const QTransform toPage = ToPage();
  const QRectF bounds = toPage.map(path).boundingRect();
  if (bounds.isEmpty()) return;
  const double scale = std::min(
      {kPictureDpi / 72.0, kMaxPictureSide / bounds.width(), kMaxPictureSide / bounds.height()});
  const QSize size(std::max(1, static_cast<int>(std::ceil(bounds.width() * scale))),
                   std::max(1, static_cast<int>(std::ceil(bounds.height() * scale))));
  QImage picture(size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  {
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Page points (y up) onto the picture's pixels (y down).
    const QTransform toPicture(scale, 0, 0, -scale, -bounds.left() * scale,
                               bounds.bottom() * scale);
    painter.setTransform(toPage * toPicture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush_);
    painter.drawPath(path);
  }
  // The painter's opacity applies to the picture as a whole.
  Prepare(Qt::black, Qt::black);
  PdfContent& content = document_.content();
  const std::string name = document_.images().NameFor(picture, true);
  content.Save();
  content.Concat(QTransform(bounds.width(), 0, 0, bounds.height(), bounds.left(), bounds.top()));
  content.Raw() += "/" + name + " Do\n";
  content.Restore();
}

void PdfPaintEngine::drawRects(const QRectF* rects, int count) {
  const QTransform toPage = ToPage();
  const bool fill = brush_.style() == Qt::SolidPattern;
  const bool stroke = pen_.style() != Qt::NoPen;
  const bool simple = toPage.type() <= QTransform::TxScale &&
                      (fill || brush_.style() == Qt::NoBrush) &&
                      (!stroke || (IsCosmetic(pen_) && pen_.style() == Qt::SolidLine));
  if (!simple) {
    for (int i = 0; i < count; ++i) {
      QPainterPath path;
      path.addRect(rects[i]);
      PaintPath(path, true, true);
    }
    return;
  }
  // The common case, a box of one colour, as a rectangle operator.
  if (!fill && !stroke) return;
  Prepare(brush_.color(), pen_.color());
  PdfContent& content = document_.content();
  if (fill) content.FillColour(brush_.color().rgba());
  if (stroke) SetPen(true);
  for (int i = 0; i < count; ++i) {
    const QRectF r = toPage.mapRect(rects[i]);
    content.Rect(r.left(), r.top(), r.width(), r.height());
    content.Operator(!stroke ? "f" : fill ? "B" : "S");
  }
}

void PdfPaintEngine::drawLines(const QLineF* lines, int count) {
  QPainterPath path;
  for (int i = 0; i < count; ++i) {
    path.moveTo(lines[i].p1());
    path.lineTo(lines[i].p2());
  }
  PaintPath(path, false, true);
}

void PdfPaintEngine::drawPoints(const QPointF* points, int count) {
  // A line of no length, drawn with the pen's cap, is a dot.
  QPainterPath path;
  for (int i = 0; i < count; ++i) {
    path.moveTo(points[i]);
    path.lineTo(points[i]);
  }
  PaintPath(path, false, true);
}

void PdfPaintEngine::drawPath(const QPainterPath& path) {
  PaintPath(path, true, true);
}

void PdfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) {
  if (count < 1) return;
  QPainterPath path(points[0]);
  for (int i = 1; i < count; ++i) path.lineTo(points[i]);
  if (mode == PolylineMode) {
    PaintPath(path, false, true);
    return;
  }
  path.closeSubpath();
  path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
  PaintPath(path, true, true);
}

void PdfPaintEngine::drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) {
  drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
}

void PdfPaintEngine::drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                               Qt::ImageConversionFlags) {
  if (image.isNull() || rect.isEmpty()) return;
  const QRect whole = image.rect();
  const QRect part = source.toAlignedRect().intersected(whole);
  if (part.isEmpty()) return;
  const QImage shown = part == whole ? image : image.copy(part);
  Prepare(Qt::black, Qt::black);
  PdfContent& content = document_.content();
  const std::string name = document_.images().NameFor(shown, smooth_);
  // The unit square of the picture, y upwards, onto the target rectangle.
  const QTransform square(rect.width(), 0, 0, -rect.height(), rect.left(), rect.bottom());
  content.Save();
  content.Concat(square * ToPage());
  content.Raw() += "/" + name + " Do\n";
  content.Restore();
}

void PdfPaintEngine::DrawTextAsPath(const QPointF& point, const QTextItem& item) {
  QPainterPath path;
  path.addText(point, item.font(), item.text());
  const QBrush brush = brush_;
  const QPen pen = pen_;
  brush_ = QBrush(pen.color());
  pen_ = QPen(Qt::NoPen);
  PaintPath(path, true, false);
  brush_ = brush;
  pen_ = pen;
}

void PdfPaintEngine::ShowText(const PdfFonts::Choice& choice, double size, const ShapedRun& run,
                              const QTransform& glyphs, const QColor& colour) {
  Prepare(colour, colour);
  PdfContent& content = document_.content();
  content.FillColour(colour.rgba());
  if (choice.emboldened) {
    content.StrokeColour(colour.rgba());
    content.LineWidth(size * kEmboldenPerPoint);
  }
  content.BeginText();
  content.TextRender(choice.emboldened ? 2 : 0);
  if (glyphs.type() == QTransform::TxTranslate || glyphs.type() == QTransform::TxNone) {
    content.TextAt(glyphs.dx(), glyphs.dy());
  } else {
    content.TextMatrix(glyphs);
  }
  ShowRun(content, *choice.face, size, run);
  content.EndText();
}

void PdfPaintEngine::drawTextItem(const QPointF& point, const QTextItem& item) {
  const QString text = item.text();
  if (text.isEmpty() || pen_.style() == Qt::NoPen) return;
  const QFont font = item.font();
  const PdfFonts::Choice choice = document_.fonts().For(font);
  if (choice.face == nullptr) {
    DrawTextAsPath(point, item);
    return;
  }
  const ShapedRun& run = choice.face->Shape(text);
  if (run.parts.empty()) return;
  // Glyph space (y up) onto the page: the painter's transform without its
  // y flip, placed at the pen position.
  const QPointF at = ToPage().map(point);
  QTransform glyphs(matrix_.m11(), -matrix_.m12(), -matrix_.m21(), matrix_.m22(), at.x(), at.y());
  if (choice.slanted) glyphs = QTransform(1, 0, kSlant, 1, 0, 0) * glyphs;
  ShowText(choice, PointSize(font), run, glyphs, pen_.color());
}

const ShapedRun* PdfPaintEngine::StraightRun(const QFont& font, const QString& text,
                                             PdfFonts::Choice& choice) {
  if (font.underline() || font.strikeOut() || font.overline() || !IsPlainText(text)) {
    return nullptr;
  }
  choice = document_.fonts().For(font);
  if (choice.face == nullptr) return nullptr;
  const ShapedRun& run = choice.face->Shape(text);
  return run.complete ? &run : nullptr;
}

std::optional<double> PdfPaintEngine::TextAdvance(const QFont& font, const QString& text) {
  PdfFonts::Choice choice;
  const ShapedRun* run = StraightRun(font, text, choice);
  if (run == nullptr) return std::nullopt;
  return static_cast<double>(run->advance) / choice.face->unitsPerEm() * PointSize(font) /
         kPointsPerDot;
}

bool PdfPaintEngine::DrawText(QPointF baseline, const QFont& font, const QColor& colour,
                              const QString& text) {
  // QPainter hands its state over when it next draws itself: the clip and
  // the opacity must have arrived already.
  constexpr DirtyFlags kNeeded =
      DirtyClipPath | DirtyClipRegion | DirtyClipEnabled | DirtyOpacity | DirtyCompositionMode;
  if (!isActive() || (state != nullptr && (state->state() & kNeeded))) return false;
  PdfFonts::Choice choice;
  const ShapedRun* run = StraightRun(font, text, choice);
  if (run == nullptr) return false;
  if (run->parts.empty()) return true;
  // QPainter places a line of text on a 64th of a dot, cutting off the
  // rest; so does this, so that a page comes out the same either way.
  baseline.setX(std::trunc(baseline.x() * 64) / 64);
  const QPointF at = DotsToPage().map(baseline);
  QTransform glyphs(1, 0, 0, 1, at.x(), at.y());
  if (choice.slanted) glyphs = QTransform(1, 0, kSlant, 1, 0, 0) * glyphs;
  ShowText(choice, PointSize(font), *run, glyphs, colour);
  return true;
}

}  // namespace lvx
