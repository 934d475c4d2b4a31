// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmf_player.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace lvx::wmf {
namespace {

constexpr std::size_t kMaxSavedStates = 1024;

// Raster operations of blits that the player carries out.
constexpr std::uint32_t kSourceCopy = 0x00CC0020;
constexpr std::uint32_t kSourceAnd = 0x008800C6;
constexpr std::uint32_t kSourcePaint = 0x00EE0086;
constexpr std::uint32_t kSourceInvert = 0x00660046;
constexpr std::uint32_t kPatternCopy = 0x00F00021;
constexpr std::uint32_t kBlackness = 0x00000042;
constexpr std::uint32_t kWhiteness = 0x00FF0062;

std::optional<RasterOp> RasterOpOf(std::uint32_t operation) {
  switch (operation) {
    case kSourceCopy:
      return RasterOp::kCopy;
    case kSourceAnd:
      return RasterOp::kAnd;
    case kSourcePaint:
      return RasterOp::kOr;
    case kSourceInvert:
      return RasterOp::kXor;
    default:
      return std::nullopt;
  }
}

QPainter::CompositionMode CompositionModeOf(RasterOp operation) {
  switch (operation) {
    case RasterOp::kAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case RasterOp::kOr:
      return QPainter::RasterOp_SourceOrDestination;
    case RasterOp::kXor:
      return QPainter::RasterOp_SourceXorDestination;
    case RasterOp::kCopy:
      break;
  }
  return QPainter::CompositionMode_SourceOver;
}

QPolygonF ReadPoints(ByteReader& params, qsizetype count) {
  QPolygonF points;
  count = std::min(count, params.remaining() / 4);
  points.reserve(count);
  for (qsizetype i = 0; i < count; ++i) {
    const double x = params.I16();
    points << QPointF(x, params.I16());
  }
  return points;
}

// Angle of a point on the ellipse in `rect`, in degrees counter-clockwise
// from three o'clock, as QPainterPath counts them.
double AngleOf(const QRectF& rect, QPointF point) {
  const QPointF centre = rect.center();
  const double dx = (point.x() - centre.x()) / (rect.width() / 2);
  const double dy = (point.y() - centre.y()) / (rect.height() / 2);
  return std::atan2(-dy, dx) * 180.0 / M_PI;
}

// The counts of all polygons come first, then all their points.
void ReadPolyPolygon(ByteReader& params, QPainterPath& path) {
  const std::uint16_t polygons = params.U16();
  std::vector<std::uint16_t> counts;
  for (std::uint16_t i = 0; i < polygons && params.ok(); ++i) counts.push_back(params.U16());
  for (const std::uint16_t count : counts) {
    path.addPolygon(ReadPoints(params, count));
    path.closeSubpath();
  }
}

}  // namespace

Player::Player(QPainter& painter, const QRectF& target, const WmfContent& content,
               LayerImages* layers)
    : painter_(painter), target_(target), content_(content), layerImages_(layers) {
  state_.windowOrg = content.frame.topLeft();
  state_.windowExt = content.frame.size();
  state_.pen = QPen(Qt::black, 0.0);
  state_.pen.setCosmetic(true);
  state_.brush = QBrush(Qt::white);
}

void Player::Play() {
  painter_.save();
  base_ = painter_.transform();
  SetMapping();
  ForEachRecord(content_.data, content_.firstRecord, [this](const Record& record) { Run(record); });
  FlushLayer();
  painter_.restore();
}

void Player::SetMapping() {
  const QSizeF ext = state_.windowExt;
  mapping_ = QTransform()
                 .translate(target_.left(), target_.top())
                 .scale(target_.width() / ext.width(), target_.height() / ext.height())
                 .translate(-state_.windowOrg.x(), -state_.windowOrg.y());
  painter_.setTransform(mapping_ * base_);
}

void Player::FlushLayer() {
  if (!layer_ || !layer_->pending()) return;
  painter_.setTransform(base_);
  layer_->Flush(painter_);
  painter_.setTransform(mapping_ * base_);
}

void Player::ApplyClip() {
  // Bitmaps combined so far were drawn under the clip as it was.
  FlushLayer();
  painter_.setTransform(base_);
  if (state_.clip) {
    painter_.setClipPath(*state_.clip);
  } else {
    painter_.setClipping(false);
  }
  painter_.setTransform(mapping_ * base_);
}

void Player::Run(const Record& record) {
  ByteReader params(record.params);
  if (RunWindow(record.function, params) || RunState(record.function, params) ||
      RunObject(record, params) || RunShape(record.function, params)) {
    return;
  }
  RunOther(record, params);
}

bool Player::RunWindow(std::uint16_t function, ByteReader& params) {
  switch (function) {
    case kSetWindowOrg:
      state_.windowOrg = ReadYX(params);
      break;
    case kSetWindowExt: {
      const QPointF ext = ReadYX(params);
      if (ext.x() == 0 || ext.y() == 0) return true;
      state_.windowExt = QSizeF(ext.x(), ext.y());
      break;
    }
    case kOffsetWindowOrg:
      state_.windowOrg += ReadYX(params);
      break;
    case kScaleWindowExt: {
      const double yDenominator = params.I16();
      const double yNumerator = params.I16();
      const double xDenominator = params.I16();
      const double xNumerator = params.I16();
      if (yDenominator == 0 || yNumerator == 0 || xDenominator == 0 || xNumerator == 0) {
        return true;
      }
      state_.windowExt = QSizeF(state_.windowExt.width() * xNumerator / xDenominator,
                                state_.windowExt.height() * yNumerator / yDenominator);
      break;
    }
    default:
      return false;
  }
  SetMapping();
  return true;
}

bool Player::RunState(std::uint16_t function, ByteReader& params) {
  switch (function) {
    case kSetBkColor:
      state_.backColour = ReadColour(params);
      return true;
    case kSetBkMode:
      state_.opaque = params.U16() == 2;
      return true;
    case kSetTextColor:
      state_.textColour = ReadColour(params);
      return true;
    case kSetTextAlign:
      state_.textAlign = params.U16();
      return true;
    case kSetPolyFillMode:
      state_.fillRule = params.U16() == 2 ? Qt::WindingFill : Qt::OddEvenFill;
      return true;
    case kSaveDc:
      SaveDc();
      return true;
    case kRestoreDc:
      RestoreDc(params.I16());
      return true;
    case kIntersectClipRect:
    case kExcludeClipRect:
      Clip(params, function == kExcludeClipRect);
      return true;
    default:
      return false;
  }
}

bool Player::RunObject(const Record& record, ByteReader& params) {
  switch (record.function) {
    case kCreatePenIndirect:
      Create(ReadPen(params));
      return true;
    case kCreateBrushIndirect:
      Create(ReadBrush(params));
      return true;
    case kCreateFontIndirect:
      Create(ReadFont(params));
      return true;
    case kDibCreatePatternBrush: {
      const auto image = content_.images.constFind(record.offset);
      Create(image == content_.images.constEnd() ? Object(Placeholder{}) : PatternBrush(*image));
      return true;
    }
    case kCreatePalette:
    case kCreatePatternBrush:
    case kCreateRegion:
      Create(Placeholder{});
      return true;
    case kSelectObject:
      Select(params.U16());
      return true;
    case kDeleteObject: {
      const std::uint16_t index = params.U16();
      if (index >= objects_.size()) return true;
      objects_[index] = std::monostate{};
      lowestFree_ = std::min<std::size_t>(lowestFree_, index);
      return true;
    }
    default:
      return false;
  }
}

bool Player::RunShape(std::uint16_t function, ByteReader& params) {
  QPainterPath path;
  path.setFillRule(state_.fillRule);
  bool fill = true;
  switch (function) {
    case kMoveTo:
      state_.position = ReadYX(params);
      return true;
    case kLineTo:
      path.moveTo(state_.position);
      state_.position = ReadYX(params);
      path.lineTo(state_.position);
      fill = false;
      break;
    case kPolyline:
      path.addPolygon(ReadPoints(params, params.I16()));
      fill = false;
      break;
    case kPolygon:
      path.addPolygon(ReadPoints(params, params.I16()));
      path.closeSubpath();
      break;
    case kPolyPolygon:
      ReadPolyPolygon(params, path);
      break;
    case kRectangle:
      path.addRect(ReadBottomRightTopLeft(params));
      break;
    case kRoundRect: {
      const double cornerHeight = params.I16();
      const double cornerWidth = params.I16();
      path.addRoundedRect(ReadBottomRightTopLeft(params), cornerWidth / 2, cornerHeight / 2);
      break;
    }
    case kEllipse:
      path.addEllipse(ReadBottomRightTopLeft(params));
      break;
    case kArc:
    case kPie:
    case kChord:
      Arc(params, function);
      return true;
    default:
      return false;
  }
  Shape(path, fill);
  return true;
}

void Player::RunOther(const Record& record, ByteReader& params) {
  switch (record.function) {
    case kSetPixel: {
      FlushLayer();
      const QColor colour = ReadColour(params);
      painter_.fillRect(QRectF(ReadYX(params), QSizeF(1, 1)), colour);
      break;
    }
    case kTextOut:
      TextOut(params);
      break;
    case kExtTextOut:
      ExtTextOut(params);
      break;
    case kPatBlt: {
      const std::uint32_t operation = params.U32();
      const double height = params.I16();
      const double width = params.I16();
      PatternFill(operation, QRectF(ReadYX(params), QSizeF(width, height)).normalized());
      break;
    }
    case kStretchDib:
    case kDibStretchBlt:
    case kDibBitBlt:
      Blit(record, params);
      break;
    default:
      break;
  }
}

void Player::Shape(const QPainterPath& path, bool fill) {
  FlushLayer();
  painter_.setPen(state_.pen);
  painter_.setBrush(fill ? state_.brush : QBrush(Qt::NoBrush));
  painter_.setBackground(state_.backColour);
  painter_.setBackgroundMode(state_.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.drawPath(path);
}

void Player::Arc(ByteReader& params, std::uint16_t function) {
  const QPointF end = ReadYX(params);
  const QPointF start = ReadYX(params);
  const QRectF rect = ReadBottomRightTopLeft(params);
  if (rect.isEmpty()) return;
  const double from = AngleOf(rect, start);
  double sweep = AngleOf(rect, end) - from;
  // Arcs run counter-clockwise; the same start and end make a full turn.
  if (sweep <= 0) sweep += 360.0;
  QPainterPath path;
  if (function == kPie) {
    path.moveTo(rect.center());
  } else {
    path.arcMoveTo(rect, from);
  }
  path.arcTo(rect, from, sweep);
  if (function != kArc) path.closeSubpath();
  Shape(path, function != kArc);
}

void Player::Clip(ByteReader& params, bool exclude) {
  QPainterPath rect;
  rect.addRect(mapping_.mapRect(ReadBottomRightTopLeft(params)));
  if (exclude) {
    // Without a clip yet, everything is inside it: far more than the target.
    QPainterPath everything;
    const double margin = 10 * (std::abs(target_.width()) + std::abs(target_.height()));
    everything.addRect(target_.adjusted(-margin, -margin, margin, margin));
    state_.clip = state_.clip.value_or(everything).subtracted(rect);
  } else {
    state_.clip = state_.clip ? state_.clip->intersected(rect) : rect;
  }
  ApplyClip();
}

void Player::SaveDc() {
  if (saved_.size() < kMaxSavedStates) saved_.push_back(state_);
}

void Player::RestoreDc(std::int16_t which) {
  // Negative: so many states back; positive: the state of that depth.
  const auto depth = static_cast<std::ptrdiff_t>(saved_.size());
  const std::ptrdiff_t index = which < 0 ? depth + which : which - 1;
  if (which == 0 || index < 0 || index >= depth) return;
  state_ = saved_[static_cast<std::size_t>(index)];
  saved_.resize(static_cast<std::size_t>(index));
  SetMapping();
  ApplyClip();
}

void Player::Create(Object object) {
  // A new object takes the lowest free slot of the table.
  for (; lowestFree_ < objects_.size(); ++lowestFree_) {
    if (std::holds_alternative<std::monostate>(objects_[lowestFree_])) {
      objects_[lowestFree_++] = std::move(object);
      return;
    }
  }
  if (objects_.size() < static_cast<std::size_t>(content_.objectCount)) {
    objects_.push_back(std::move(object));
    lowestFree_ = objects_.size();
  }
}

void Player::Select(std::uint16_t index) {
  if (index >= objects_.size()) return;
  const Object& object = objects_[index];
  if (const auto* pen = std::get_if<QPen>(&object)) state_.pen = *pen;
  if (const auto* brush = std::get_if<QBrush>(&object)) state_.brush = *brush;
  if (const auto* font = std::get_if<Font>(&object)) state_.font = *font;
}

void Player::PatternFill(std::uint32_t operation, const QRectF& rect) {
  FlushLayer();
  switch (operation) {
    case kPatternCopy:
      painter_.fillRect(rect, state_.brush);
      break;
    case kBlackness:
      painter_.fillRect(rect, Qt::black);
      break;
    case kWhiteness:
      painter_.fillRect(rect, Qt::white);
      break;
    default:
      break;
  }
}

void Player::Blit(const Record& record, ByteReader& params) {
  const std::uint32_t operation = params.U32();
  const bool pattern = IsPatternBlit(record);
  if (record.function == kStretchDib || pattern) params.Skip(2);
  double sourceWidth = 0;
  double sourceHeight = 0;
  if (record.function != kDibBitBlt) {
    sourceHeight = params.I16();
    sourceWidth = params.I16();
  }
  const QPointF sourceCorner = ReadYX(params);
  const double height = params.I16();
  const double width = params.I16();
  const QPointF corner = ReadYX(params);
  if (record.function == kDibBitBlt) {
    sourceWidth = width;
    sourceHeight = height;
  }
  const QRectF target(corner, QSizeF(width, height));
  if (pattern) {
    PatternFill(operation, target.normalized());
    return;
  }
  const auto found = content_.images.constFind(record.offset);
  if (found == content_.images.constEnd()) return;
  const std::optional<RasterOp> rasterOp = RasterOpOf(operation);
  if (!rasterOp) return;
  // Rows of a bottom-up bitmap count from the bottom; negative sizes mirror.
  QRectF source(sourceCorner, QSizeF(std::abs(sourceWidth), std::abs(sourceHeight)));
  if (DibBottomUp(BlitBitmap(record))) {
    source.moveTop(found->height() - sourceCorner.y() - source.height());
  }
  const QImage image = width < 0 || height < 0 ? found->mirrored(width < 0, height < 0) : *found;
  if (width < 0) source.moveLeft(image.width() - source.right());
  if (height < 0) source.moveTop(image.height() - source.bottom());
  if (*rasterOp != RasterOp::kCopy &&
      !painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
    // A PDF has no raster operations: the bitmaps are combined apart and
    // drawn as one picture.
    if (!layer_) layer_.emplace(target_, base_, layerImages_);
    layer_->Combine(*rasterOp, image, source, target.normalized(), mapping_,
                    painter_.testRenderHint(QPainter::SmoothPixmapTransform));
    return;
  }
  FlushLayer();
  painter_.setCompositionMode(CompositionModeOf(*rasterOp));
  painter_.drawImage(target.normalized(), image, source);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

}  // namespace lvx::wmf
