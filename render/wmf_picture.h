// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <memory>

#include "drawable_picture.h"
#include "wmf_raster_layer.h"

namespace lvx {

// What the player needs of a metafile: its records, the logical rectangle
// the picture covers, the size of its object table and its bitmaps,
// decoded once (keyed by the offset of their record) so that every page
// draws the same images.
struct WmfContent {
  QByteArray data;
  qsizetype firstRecord = 0;
  QRectF frame;
  int objectCount = 0;
  QHash<qsizetype, QImage> images;
};

// A Windows metafile with a placeable header, drawn as vectors by playing
// its records. Its own size is the header's frame: (Right - Left) * 2540 /
// Inch by (Bottom - Top) * 2540 / Inch hundredths of a millimetre.
class WmfPicture : public DrawablePicture {
 public:
  // True when `data` starts with a placeable metafile header.
  static bool Detect(QByteArrayView data);
  // The picture in `data`, or null when a header is inconsistent, the frame
  // is empty or absurd, or the records do not run to the end-of-file
  // record. Metafiles without a placeable header carry no size and are not
  // taken. Never throws.
  static std::shared_ptr<const WmfPicture> Decode(const QByteArray& data);
  // Pixels the bitmaps of one file may have in all: a file of many
  // bitmaps, each within the limits, would otherwise decode to gigabytes.
  // The bitmaps past it draw nothing.
  static constexpr qint64 kMaxPixelsPerFile = qint64{48} << 20;

  WmfPicture(WmfContent content, double widthHmm, double heightHmm);

  double WidthHmm() const override { return widthHmm_; }
  double HeightHmm() const override { return heightHmm_; }
  void Draw(QPainter& painter, const QRectF& target) const override;
  qint64 MemoryBytes() const override;
  qint64 Pixels() const override;

 private:
  WmfContent content_;
  double widthHmm_;
  double heightHmm_;
  // Bitmaps combined for a PDF, kept for the next page.
  mutable wmf::LayerImages layers_;
};

}  // namespace lvx
