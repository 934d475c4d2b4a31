// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <optional>
#include <vector>

#include "wmf_objects.h"
#include "wmf_picture.h"
#include "wmf_raster_layer.h"
#include "wmf_records.h"

class QPainter;

namespace lvx::wmf {

// Plays a metafile's records onto a painter. The logical window (the
// placeable frame until the records set their own) is mapped onto `target`,
// given in the painter's coordinates when the player is made. Records it
// does not know are skipped; it never reads outside the data, and the
// painter's state is as before when Play returns. Bitmap raster operations
// are carried out on any device: where the paint engine has none (a PDF),
// through a RasterLayer.
class Player {
 public:
  // `layers` keeps the pictures combined bitmaps came to, for the next time
  // the same picture is played; may be null.
  Player(QPainter& painter, const QRectF& target, const WmfContent& content,
         LayerImages* layers = nullptr);
  void Play();

 private:
  // The drawing state a device context holds; SaveDC keeps copies.
  struct State {
    QPointF windowOrg;
    QSizeF windowExt;
    QPen pen;
    QBrush brush;
    Font font;
    QColor textColour{Qt::black};
    QColor backColour{Qt::white};
    bool opaque = true;
    std::uint16_t textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position;
    // In target coordinates: a window change must not move it.
    std::optional<QPainterPath> clip;
  };

  // Each Run function carries out the records of its kind and tells
  // whether the record was one of them.
  void Run(const Record& record);
  bool RunWindow(std::uint16_t function, ByteReader& params);
  bool RunState(std::uint16_t function, ByteReader& params);
  bool RunObject(const Record& record, ByteReader& params);
  bool RunShape(std::uint16_t function, ByteReader& params);
  void RunOther(const Record& record, ByteReader& params);
  void SetMapping();
  // Draws the bitmaps a RasterLayer combined, before anything else is drawn.
  void FlushLayer();
  void ApplyClip();
  void Clip(ByteReader& params, bool exclude);
  void SaveDc();
  void RestoreDc(std::int16_t which);
  void Create(Object object);
  void Select(std::uint16_t index);
  void Shape(const QPainterPath& path, bool fill = true);
  void Arc(ByteReader& params, std::uint16_t function);
  void Text(QPointF at, QByteArrayView bytes, const std::vector<double>& advances);
  void TextOut(ByteReader& params);
  void ExtTextOut(ByteReader& params);
  void Blit(const Record& record, ByteReader& params);
  void PatternFill(std::uint32_t operation, const QRectF& rect);

  QPainter& painter_;
  QRectF target_;
  const WmfContent& content_;
  QTransform base_;
  QTransform mapping_;
  State state_;
  std::vector<State> saved_;
  std::vector<Object> objects_;
  // No slot below this one is free.
  std::size_t lowestFree_ = 0;
  LayerImages* layerImages_;
  std::optional<RasterLayer> layer_;
};

}  // namespace lvx::wmf
