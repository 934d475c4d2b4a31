// SPDX-License-Identifier: GPL-3.0-or-later
#include "painter_page_view.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "colour.h"
#include "cp1252.h"
#include "device_pixels.h"
#include "drawable_picture.h"

namespace lvx {
namespace {

// Positions further out than this (in view units; 100 m on a page) are
// kept off the paint engines, whose fixed-point paths overflow on them.
constexpr double kFarAway = 100000.0;
constexpr double kMinPoints = 1.0;
constexpr double kMaxPoints = 2160.0;

double Clamped(double value) {
  return std::clamp(value, -kFarAway, kFarAway);
}

bool Reachable(const QRectF& rect) {
  return std::abs(rect.left()) <= kFarAway && std::abs(rect.top()) <= kFarAway &&
         std::abs(rect.right()) <= kFarAway && std::abs(rect.bottom()) <= kFarAway;
}

// The device's whole surface in the painter's logical coordinates.
QRectF DeviceRect(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  const double ratio = device->devicePixelRatioF();
  return {0.0, 0.0, device->width() / ratio, device->height() / ratio};
}

// The thinnest line on an image: one pixel, or as many as make one pixel
// of the 96-dpi screen on a high-density one, so that a page looks alike
// at every device pixel ratio.
int LineWidth(qreal ratio) {
  return std::max(1, static_cast<int>(std::lround(ratio)));
}

// A span of view units in whole device pixels: it starts in the pixel its
// start lies in, as the painter's thinnest lines do, and its length is
// rounded on its own, so that rules of
// one thickness come out equally thick wherever they lie; never thinner
// than `line`.
std::pair<int, int> PixelSpan(double from, double to, int line, int limit) {
  // Beyond the image's edges only the part over it counts.
  const double start = std::clamp(from, -1.0 - line, limit + 1.0);
  const double end = std::clamp(to, start, limit + 1.0 + line);
  const int first = static_cast<int>(std::floor(start));
  return {first, std::max(line, static_cast<int>(std::lround(end - start)))};
}

// Fills `pixels` of an image and notes them in `drawn`, when there is one.
void FillPixels(QPainter& painter, const QRect& pixels, const QColor& colour, DrawnArea* drawn) {
  painter.fillRect(pixels, colour);
  if (drawn != nullptr) drawn->Add(pixels);
}

// A box on an image, drawn on the image's pixel grid. The painter's own
// rasterising of a thin line at a fractional pixel ratio comes out one
// pixel thicker or thinner from one rule to the next.
void DrawPixelBox(QPainter& painter, const QRectF& box, const QColor& colour, bool filled,
                  DrawnArea* drawn) {
  if (!std::isfinite(box.left() + box.right() + box.top() + box.bottom())) return;
  const QPaintDevice& device = *painter.device();
  const int line = LineWidth(device.devicePixelRatioF());
  const auto [left, width] = PixelSpan(box.left(), box.right(), line, device.width());
  const auto [top, height] = PixelSpan(box.top(), box.bottom(), line, device.height());
  UseDevicePixels(painter);
  // An outline lies inside its box, so that the box keeps its place and
  // size; a box too small for a hole is filled.
  if (filled || width <= 2 * line || height <= 2 * line) {
    FillPixels(painter, QRect(left, top, width, height), colour, drawn);
    return;
  }
  FillPixels(painter, QRect(left, top, width, line), colour, drawn);
  FillPixels(painter, QRect(left, top + height - line, width, line), colour, drawn);
  FillPixels(painter, QRect(left, top, line, height), colour, drawn);
  FillPixels(painter, QRect(left + width - line, top, line, height), colour, drawn);
}

// The characters of a text starting at `x` that can reach [left, right]:
// where the first of them starts, how many there are, and the x of the
// first. Advances are summed one character at a time in doubles, so no
// length overflows; a margin of a few characters makes up for kerning.
struct TextRun {
  qsizetype first = 0;
  qsizetype count = 0;
  double x = 0.0;
  double right = 0.0;
};

TextRun VisibleRun(const QString& text, const QFontMetricsF& metrics, double x, double left,
                   double right) {
  const double margin = 2.0 * metrics.maxWidth();
  TextRun run;
  double position = x;
  qsizetype i = 0;
  for (; i < text.size(); ++i) {
    const double advance = metrics.horizontalAdvance(text[i]);
    if (position + advance >= left - margin) break;
    position += advance;
  }
  run.first = i;
  run.x = position;
  for (; i < text.size() && position <= right + margin; ++i) {
    position += metrics.horizontalAdvance(text[i]);
  }
  run.count = i - run.first;
  run.right = position;
  return run;
}

}  // namespace

PainterPageView::PainterPageView(QPainter& painter, ViewScale scale)
    : painter_(&painter), scale_(scale), font_(DefaultFont()) {}

PainterPageView::PainterPageView(QPaintDevice& device, ViewScale scale)
    : device_(&device), scale_(scale), font_(DefaultFont()) {}

QString PainterPageView::DefaultFamily() {
  return families_.Resolve(QString::fromLatin1(kDefaultFamily)).value_or(QString());
}

QFont PainterPageView::DefaultFont() {
  QFont font;
  const QString family = DefaultFamily();
  if (family.isEmpty()) {
    font.setStyleHint(QFont::SansSerif);
  } else {
    font.setFamilies({family});
  }
  font.setPointSizeF(kDefaultPoints);
  // Hinting moves glyphs to the pixel grid of one resolution; without it the
  // screen lays text out as paper does.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

template <typename Draw>
void PainterPageView::Paint(Draw&& draw) {
  if (painter_ != nullptr) {
    if (!painter_->isActive()) return;
    painter_->save();
    draw(*painter_);
    painter_->restore();
    return;
  }
  QPainter painter;
  if (!painter.begin(device_)) return;
  draw(painter);
}

void PainterPageView::WhitenOnlyWhatIsDrawn() {
  if (device_ == nullptr || device_->devType() != QInternal::Image) return;
  drawn_.emplace(static_cast<QImage*>(device_)->size());
}

void PainterPageView::MarkDrawn(const QRectF& onDevice) {
  if (!drawn_) return;
  if (!std::isfinite(onDevice.left() + onDevice.right() + onDevice.top() + onDevice.bottom())) {
    drawn_->AddAll();
    return;
  }
  // Antialiased edges reach into the next pixel.
  constexpr double kEdge = 2.0;
  const QRectF clamped(
      QPointF(Clamped(onDevice.left() - kEdge), Clamped(onDevice.top() - kEdge)),
      QPointF(Clamped(onDevice.right() + kEdge), Clamped(onDevice.bottom() + kEdge)));
  drawn_->Add(clamped.toAlignedRect());
}

void PainterPageView::Clear() {
  textPosition_ = QPointF(0.0, 0.0);
  // A window's image is filled directly, without a painter.
  if (painter_ == nullptr && device_->devType() == QInternal::Image) {
    auto& image = *static_cast<QImage*>(device_);
    if (drawn_) {
      drawn_->Whiten(image);
      return;
    }
    // White is every bit set in these formats; a plain memory fill is
    // quicker than the image's own, which hands the work to other threads.
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied) {
      std::memset(image.bits(), 0xFF, static_cast<std::size_t>(image.sizeInBytes()));
    } else {
      image.fill(Qt::white);
    }
    return;
  }
  Paint([](QPainter& painter) {
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(DeviceRect(painter), Qt::white);
  });
}

void PainterPageView::Hide() {
  if (hide_) hide_();
}

void PainterPageView::DrawRect(float x1, float y1, float x2, float y2, std::int32_t colour,
                               bool filled) {
  const QRectF rect =
      QRectF(QPointF(Clamped(x1), Clamped(y1)), QPointF(Clamped(x2), Clamped(y2))).normalized();
  const QColor qColour = ColourFromBgr(static_cast<std::uint32_t>(colour));
  Paint([&](QPainter& painter) {
    if (painter.device()->devType() == QInternal::Image) {
      const qreal ratio = painter.device()->devicePixelRatioF();
      const QTransform toPixels = scale_.Transform() * QTransform::fromScale(ratio, ratio);
      DrawPixelBox(painter, toPixels.mapRect(rect), qColour, filled, drawn_ ? &*drawn_ : nullptr);
      return;
    }
    painter.setTransform(scale_.Transform());
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Width 0: the device's thinnest line, at any scale.
    QPen pen(qColour, 0.0);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    // A filled box is also outlined, so that a bar thinner than a pixel
    // still shows as the thinnest line.
    painter.setBrush(filled ? QBrush(qColour) : QBrush(Qt::NoBrush));
    // A box of size 0 is still marked on the page, as a dot.
    if (rect.isNull()) {
      painter.drawPoint(rect.topLeft());
    } else {
      painter.drawRect(rect);
    }
  });
}

void PainterPageView::MoveTo(float x, float y) {
  textPosition_ = QPointF(x, y);
}

void PainterPageView::PrintText(std::string_view text) {
  double cellHeight = 0.0;
  const QPointF at = scale_.Transform().map(textPosition_);
  Paint([&](QPainter& painter) {
    // Text is placed through the mapping but drawn unscaled, so that its
    // points are points on the device.
    painter.resetTransform();
    if (!PrintShaped(painter, at, text, cellHeight)) PrintLaidOut(painter, at, text, cellHeight);
  });
  textPosition_ = QPointF(0.0, textPosition_.y() + cellHeight / scale_.y);
}

// A window's image gets a text from its glyphs, laid out once per font and
// kept, at the places drawText gives them. False, with nothing drawn, for a
// text not kept or not within reach of the paint engine, and for underlined
// text: a glyph run's underline on a high-density image lands elsewhere.
bool PainterPageView::PrintShaped(QPainter& painter, QPointF at, std::string_view text,
                                  double& cellHeight) {
  const QPaintDevice& device = *painter.device();
  if (device.devType() != QInternal::Image || font_.underline()) return false;
  const Qt::LayoutDirection direction = painter.layoutDirection();
  // Copied: the facts of another font may be kept in their place later.
  const FontFacts facts = shapedTexts_.Facts(font_, device, direction);
  const ShapedText* shaped = shapedTexts_.Find(font_, device, direction, text);
  if (shaped == nullptr) return false;
  cellHeight = facts.ascent + facts.descent;
  const QRectF cell(at, QSizeF(shaped->advance, cellHeight));
  if (!Reachable(cell)) return false;
  if (!transparent_) painter.fillRect(cell, Qt::white);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setPen(textColour_);
  // drawText starts the line at its x cut down to 64ths of a pixel.
  const QPointF origin(std::trunc(at.x() * 64.0) / 64.0, at.y() + facts.ascent);
  for (const QGlyphRun& run : shaped->runs) painter.drawGlyphRun(origin, run);
  if (drawn_) {
    const qreal ratio = device.devicePixelRatioF();
    MarkDrawn(QTransform::fromScale(ratio, ratio).mapRect(cell | shaped->ink.translated(origin)));
  }
  return true;
}

// The text laid out as it is drawn, for texts not kept and for printers.
void PainterPageView::PrintLaidOut(QPainter& painter, QPointF at, std::string_view text,
                                   double& cellHeight) {
  const QString unicode = QString::fromStdString(Utf8From1252(text));
  // The metrics stay until the font changes: records of text follow each
  // other in one font.
  if (!metrics_) metrics_.emplace(font_, painter.device());
  const QFontMetricsF& metrics = *metrics_;
  cellHeight = metrics.ascent() + metrics.descent();
  // Only an opaque cell needs the text's width, which takes shaping the
  // text once more; whether transparent text is within reach a bound
  // tells, as no glyph is wider than twice the widest of the font.
  const double width = transparent_ ? 2.0 * metrics.maxWidth() * (unicode.size() + 1)
                                    : TextAdvance(metrics, unicode);
  QRectF cell(at, QSizeF(width, cellHeight));
  QString shown = unicode;
  if (!Reachable(cell)) {
    // Too long for the paint engines' coordinates: only what can reach
    // the device is drawn, so text on the page never goes missing.
    const QRectF device = DeviceRect(painter);
    if (!(std::abs(at.y()) <= kFarAway) || at.y() > device.bottom() ||
        at.y() + cellHeight < device.top()) {
      return;
    }
    const TextRun run = VisibleRun(unicode, metrics, at.x(), device.left(), device.right());
    if (run.count == 0) return;
    shown = unicode.mid(run.first, run.count);
    cell = QRectF(QPointF(run.x, at.y()), QPointF(run.right, at.y() + cellHeight));
  }
  if (!transparent_) painter.fillRect(cell, Qt::white);
  const QPointF origin(cell.left(), at.y() + metrics.ascent());
  DrawTextLine(painter, origin, shown);
  if (drawn_) {
    QRectF ink = cell | metrics.boundingRect(shown).translated(origin);
    if (font_.underline()) {
      ink |= QRectF(origin.x(), origin.y(), metrics.horizontalAdvance(shown),
                    metrics.underlinePos() + 2.0 * metrics.lineWidth() + 1.0);
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    MarkDrawn(QTransform::fromScale(ratio, ratio).mapRect(ink));
  }
}

double PainterPageView::TextAdvance(const QFontMetricsF& metrics, const QString& text) {
  return metrics.horizontalAdvance(text);
}

void PainterPageView::DrawTextLine(QPainter& painter, QPointF baseline, const QString& text) {
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(font_);
  painter.setPen(textColour_);
  painter.drawText(baseline, text);
}

void PainterPageView::PrintNumber(std::int16_t number) {
  std::string text(1, ' ');
  text += std::to_string(number);
  text += ' ';
  PrintText(text);
}

bool PainterPageView::SetFontName(std::string_view name) {
  metrics_.reset();
  const QString wanted = QString::fromStdString(Utf8From1252(name));
  if (wanted.trimmed().isEmpty()) {
    // A record without a name describes a font of the default face.
    font_.setFamilies(DefaultFont().families());
    return true;
  }
  const std::optional<QString> family = families_.Resolve(wanted);
  if (!family) return false;
  font_.setFamilies({*family});
  return true;
}

bool PainterPageView::SetFontSize(float points) {
  metrics_.reset();
  if (!(points >= kMinPoints && points <= kMaxPoints)) return false;
  font_.setPointSizeF(points);
  return true;
}

bool PainterPageView::SetBold(bool on) {
  metrics_.reset();
  font_.setBold(on);
  return true;
}

bool PainterPageView::SetItalic(bool on) {
  metrics_.reset();
  font_.setItalic(on);
  return true;
}

bool PainterPageView::SetUnderline(bool on) {
  font_.setUnderline(on);
  return true;
}

bool PainterPageView::SetTransparent(bool on) {
  transparent_ = on;
  return true;
}

bool PainterPageView::SetTextColour(std::int32_t colour) {
  textColour_ = ColourFromBgr(static_cast<std::uint32_t>(colour));
  return true;
}

void PainterPageView::DrawPicture(const Picture& picture, float x, float y,
                                  std::optional<Size> size) {
  const auto* drawable = dynamic_cast<const DrawablePicture*>(&picture);
  if (drawable == nullptr) return;
  const QSizeF own = size ? QSizeF(size->width, size->height)
                          : QSizeF(picture.WidthHmm() / 100.0, picture.HeightHmm() / 100.0);
  const QRectF target(QPointF(x, y), own);
  if (!(own.width() > 0.0 && own.height() > 0.0) || !Reachable(target)) return;
  Paint([&](QPainter& painter) {
    painter.setTransform(scale_.Transform());
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    // Logos and signatures are line art: keep them exact in a PDF.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    drawable->Draw(painter, target);
    if (!drawn_) return;
    if (drawable->DrawsOnlyOnTarget()) {
      const qreal ratio = painter.device()->devicePixelRatioF();
      MarkDrawn((scale_.Transform() * QTransform::fromScale(ratio, ratio)).mapRect(target));
    } else {
      drawn_->AddAll();
    }
  });
}

}  // namespace lvx
