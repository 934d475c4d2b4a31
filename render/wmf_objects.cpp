// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmf_objects.h"

#include <algorithm>

#include "colour.h"
#include "cp1252.h"
#include "raster_picture.h"

namespace lvx::wmf {
namespace {

Qt::PenStyle PenStyle(std::uint16_t style) {
  switch (style & 0x0F) {
    case 1:
      return Qt::DashLine;
    case 2:
      return Qt::DotLine;
    case 3:
      return Qt::DashDotLine;
    case 4:
      return Qt::DashDotDotLine;
    case 5:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle Hatch(std::uint16_t hatch) {
  switch (hatch) {
    case 0:
      return Qt::HorPattern;
    case 1:
      return Qt::VerPattern;
    case 2:
      return Qt::FDiagPattern;
    case 3:
      return Qt::BDiagPattern;
    case 4:
      return Qt::CrossPattern;
    default:
      return Qt::DiagCrossPattern;
  }
}

void PutU32(QByteArray& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

QColor ReadColour(ByteReader& params) {
  return ColourFromBgr(params.U32());
}

QPointF ReadYX(ByteReader& params) {
  const double y = params.I16();
  const double x = params.I16();
  return {x, y};
}

QRectF ReadBottomRightTopLeft(ByteReader& params) {
  const QPointF bottomRight = ReadYX(params);
  const QPointF topLeft = ReadYX(params);
  return QRectF(topLeft, bottomRight).normalized();
}

QPen ReadPen(ByteReader& params) {
  const std::uint16_t style = params.U16();
  const std::int16_t width = params.I16();
  params.Skip(2);
  QPen pen(ReadColour(params));
  pen.setStyle(PenStyle(style));
  if (width == 0) {
    pen.setWidth(0);
    pen.setCosmetic(true);
  } else {
    pen.setWidthF(std::abs(width));
  }
  const int cap = style & 0x0F00;
  pen.setCapStyle(cap == 0x0100 ? Qt::SquareCap : cap == 0x0200 ? Qt::FlatCap : Qt::RoundCap);
  const int join = style & 0xF000;
  pen.setJoinStyle(join == 0x1000 ? Qt::BevelJoin : join == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin);
  return pen;
}

QBrush ReadBrush(ByteReader& params) {
  const std::uint16_t style = params.U16();
  const QColor colour = ReadColour(params);
  const std::uint16_t hatch = params.U16();
  switch (style) {
    case 0:
      return QBrush(colour);
    case 2:
      return QBrush(colour, Hatch(hatch));
    default:
      return QBrush(Qt::NoBrush);
  }
}

Font ReadFont(ByteReader& params) {
  Font font;
  font.height = params.I16();
  params.Skip(2);
  font.escapementDegrees = params.I16() / 10.0;
  params.Skip(2);
  const std::int16_t weight = params.I16();
  font.weight = weight <= 0 ? 400 : std::clamp<int>(weight, 100, 900);
  font.italic = params.U8() != 0;
  font.underline = params.U8() != 0;
  font.strikeOut = params.U8() != 0;
  params.Skip(5);
  // The face name runs to its first NUL, or to the record's end.
  const QByteArrayView rest = params.Bytes(std::min<qsizetype>(32, params.remaining()));
  const qsizetype end = rest.indexOf('\0');
  const QByteArrayView face = end < 0 ? rest : rest.first(end);
  font.family =
      QString::fromStdString(Utf8From1252({face.data(), static_cast<size_t>(face.size())}));
  return font;
}

QBrush PatternBrush(const QImage& pattern) {
  if (pattern.isNull()) return QBrush(Qt::NoBrush);
  return QBrush(pattern);
}

bool DibBottomUp(QByteArrayView dib) {
  ByteReader header(dib);
  if (header.U32() == 12) return true;
  header.Skip(4);
  return header.I32() > 0;
}

QImage ImageFromDib(QByteArrayView dib) {
  ByteReader header(dib);
  const std::uint32_t headerSize = header.U32();
  std::uint32_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  qsizetype entryBytes = 4;
  if (headerSize == 12) {
    header.Skip(6);
    bitCount = header.U16();
    entryBytes = 3;
  } else if (headerSize >= 40) {
    header.Skip(10);
    bitCount = header.U16();
    compression = header.U32();
    header.Skip(12);
    coloursUsed = header.U32();
  } else {
    return {};
  }
  if (!header.ok() || bitCount == 0 || bitCount > 32 || coloursUsed > 65536) return {};
  // Put the bitmap-file header in front, which needs the pixels' offset.
  const qsizetype masks = headerSize == 40 ? (compression == 3   ? 12
                                              : compression == 6 ? 16
                                                                 : 0)
                                           : 0;
  const qsizetype colours = coloursUsed != 0 ? coloursUsed : bitCount <= 8 ? (1 << bitCount) : 0;
  const qsizetype pixelOffset = 14 + headerSize + masks + colours * entryBytes;
  QByteArray file("BM");
  PutU32(file, static_cast<std::uint32_t>(14 + dib.size()));
  PutU32(file, 0);
  PutU32(file, static_cast<std::uint32_t>(pixelOffset));
  file.append(dib.data(), dib.size());
  const auto picture = RasterPicture::Decode(file);
  return picture ? picture->image() : QImage();
}

}  // namespace lvx::wmf
