// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <functional>

namespace lvx::wmf {

// Record functions of a Windows metafile that the player knows.
enum Function : std::uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetPolyFillMode = 0x0106,
  kRestoreDc = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kOffsetWindowOrg = 0x020F,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
};

// One record: where it starts in the file, its function and its
// parameters (the bytes after the six-byte record header).
struct Record {
  qsizetype offset;
  std::uint16_t function;
  QByteArrayView params;
};

// Calls `visit` for each record from `first` on, up to the end-of-file
// record (not visited). False when a record does not fit the data or the
// data ends before the end-of-file record.
bool ForEachRecord(QByteArrayView data, qsizetype first,
                   const std::function<void(const Record&)>& visit);

// True for a blit record that carries no bitmap and fills with the brush
// or a constant colour instead.
bool IsPatternBlit(const Record& record);

// The device-independent bitmap a blit record carries, or an empty view
// for other records and blits without one (pattern fills).
QByteArrayView BlitBitmap(const Record& record);

}  // namespace lvx::wmf
