// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QByteArrayView>
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <variant>

#include "byte_reader.h"

namespace lvx::wmf {

// A logical font of a metafile. Its height is in logical units: negative
// values give the character height, positive ones the whole cell's.
struct Font {
  QString family;
  double height = 0;
  double escapementDegrees = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// An object a record left in a slot that drawing does not use (palettes,
// regions, bitmap brushes of the old kind): it still takes its slot.
struct Placeholder {};

// A slot of the object table: free, or holding an object.
using Object = std::variant<std::monostate, Placeholder, QPen, QBrush, Font>;

// Objects from the parameters of their creation records. A pen's width is
// in logical units; width 0 is the device's thinnest line.
QPen ReadPen(ByteReader& params);
QBrush ReadBrush(ByteReader& params);
Font ReadFont(ByteReader& params);
// The texture of a pattern brush made from a bitmap.
QBrush PatternBrush(const QImage& pattern);

// The picture of a device-independent bitmap (header, colours, pixels),
// or a null image when it is cut short or corrupt.
QImage ImageFromDib(QByteArrayView dib);

// Whether the bitmap's rows run from the bottom up, so that source
// rectangles count their y from the bottom.
bool DibBottomUp(QByteArrayView dib);

// A 0x00BBGGRR colour as the records store it.
QColor ReadColour(ByteReader& params);
// Coordinates come in reverse order in most records: y before x, bottom
// and right before top and left.
QPointF ReadYX(ByteReader& params);
QRectF ReadBottomRightTopLeft(ByteReader& params);

}  // namespace lvx::wmf
