// SPDX-License-Identifier: GPL-3.0-or-later
// Text records of the metafile player.
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <numeric>

#include "cp1252.h"
#include "wmf_player.h"

namespace lvx::wmf {
namespace {

constexpr std::uint16_t kUpdatePosition = 0x0001;
constexpr std::uint16_t kHorizontalMask = 0x0006;
constexpr std::uint16_t kRight = 0x0002;
constexpr std::uint16_t kCentre = 0x0006;
constexpr std::uint16_t kVerticalMask = 0x0018;
constexpr std::uint16_t kBottom = 0x0008;
constexpr std::uint16_t kBaseline = 0x0018;
constexpr std::uint16_t kOpaqueRect = 0x0002;
constexpr std::uint16_t kClippedRect = 0x0004;
// The height of a font that names none, in logical units.
constexpr double kDefaultHeight = 12.0;

QFont QtFont(const Font& font) {
  QFont qFont;
  if (!font.family.isEmpty()) qFont.setFamilies({font.family});
  qFont.setWeight(static_cast<QFont::Weight>(font.weight));
  qFont.setItalic(font.italic);
  qFont.setUnderline(font.underline);
  qFont.setStrikeOut(font.strikeOut);
  qFont.setHintingPreference(QFont::PreferNoHinting);
  return qFont;
}

// The em of a font whose height is that of its whole cell.
double EmOfCell(QFont font, double cell, const QPaintDevice* device) {
  font.setPointSizeF(72.0);  // an em of as many units as the device's dpi
  const QFontMetricsF metrics(font, device);
  return cell * device->logicalDpiY() / (metrics.ascent() + metrics.descent());
}

QString Unicode(QByteArrayView bytes) {
  return QString::fromStdString(Utf8From1252({bytes.data(), static_cast<size_t>(bytes.size())}));
}

}  // namespace

void Player::TextOut(ByteReader& params) {
  const std::uint16_t length = params.U16();
  const QByteArrayView bytes = params.Bytes(length);
  params.Skip(length % 2);
  Text(ReadYX(params), bytes, {});
}

void Player::ExtTextOut(ByteReader& params) {
  const QPointF at = ReadYX(params);
  const std::int16_t length = params.I16();
  const std::uint16_t options = params.U16();
  if (options & (kOpaqueRect | kClippedRect)) {
    const double left = params.I16();
    const double top = params.I16();
    const double right = params.I16();
    const double bottom = params.I16();
    if (options & kOpaqueRect) {
      FlushLayer();
      painter_.fillRect(QRectF(QPointF(left, top), QPointF(right, bottom)).normalized(),
                        state_.backColour);
    }
  }
  if (length <= 0) return;
  const QByteArrayView bytes = params.Bytes(length);
  params.Skip(length % 2);
  std::vector<double> advances;
  if (params.remaining() >= 2 * length) {
    for (int i = 0; i < length; ++i) advances.push_back(params.I16());
  }
  Text(at, bytes, advances);
}

void Player::Text(QPointF at, QByteArrayView bytes, const std::vector<double>& advances) {
  FlushLayer();
  const double scaleX = std::abs(mapping_.m11());
  const double scaleY = std::abs(mapping_.m22());
  const QString text = Unicode(bytes);
  if (text.isEmpty() || !(scaleX > 0) || !(scaleY > 0)) return;
  const QPaintDevice* device = painter_.device();
  QFont font = QtFont(state_.font);
  const double height = state_.font.height;
  const double em = height > 0   ? EmOfCell(font, height, device)
                    : height < 0 ? -height
                                 : kDefaultHeight;
  // Points of a font whose em spans `em` logical units in the painter's
  // coordinates before the mapping.
  const double points = em * scaleY * 72.0 / device->logicalDpiY();
  if (!(points > 0.01 && points < 100000.0)) return;
  font.setPointSizeF(points);
  const bool useCurrent = state_.textAlign & kUpdatePosition;
  const QPointF anchor = mapping_.map(useCurrent ? state_.position : at);

  // Text stays upright whatever way the window's axes run; a stretched
  // mapping widens it.
  const double widen = scaleX / scaleY;
  painter_.setTransform(QTransform()
                            .translate(anchor.x(), anchor.y())
                            .rotate(-state_.font.escapementDegrees)
                            .scale(widen, 1.0) *
                        base_);
  const QFontMetricsF metrics(font, device);
  const bool spaced = advances.size() == static_cast<std::size_t>(text.size());
  const double width = spaced ? std::accumulate(advances.begin(), advances.end(), 0.0) * scaleY
                              : metrics.horizontalAdvance(text);
  const std::uint16_t horizontal = state_.textAlign & kHorizontalMask;
  const std::uint16_t vertical = state_.textAlign & kVerticalMask;
  const double left = horizontal == kCentre ? -width / 2 : horizontal == kRight ? -width : 0.0;
  const double baseline = vertical == kBaseline ? 0.0
                          : vertical == kBottom ? -metrics.descent()
                                                : metrics.ascent();
  if (state_.opaque) {
    painter_.fillRect(
        QRectF(left, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
        state_.backColour);
  }
  painter_.setFont(font);
  painter_.setPen(state_.textColour);
  // The background is the cell filled above or none; the painter's own
  // background mode, left by the last shape, must not add one.
  painter_.setBackgroundMode(Qt::TransparentMode);
  if (spaced) {
    double x = left;
    for (qsizetype i = 0; i < text.size(); ++i) {
      painter_.drawText(QPointF(x, baseline), QString(text[i]));
      x += advances[static_cast<std::size_t>(i)] * scaleY;
    }
  } else {
    painter_.drawText(QPointF(left, baseline), text);
  }
  if (useCurrent) state_.position.rx() += width / scaleY;
  painter_.setTransform(mapping_ * base_);
}

}  // namespace lvx::wmf
