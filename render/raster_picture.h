// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>

#include "drawable_picture.h"

namespace lvx {

// A pixel picture (bitmap, icon or cursor, GIF, JPEG, PNG). Its own size is its pixel
// size at the screen's 96 dots per inch: 400 by 200 pixels are about 10583
// by 5292 hundredths of a millimetre.
class RasterPicture : public DrawablePicture {
 public:
  explicit RasterPicture(QImage image) : image_(std::move(image)) {}

  // The picture in `data`, told by its first bytes, through Qt's reader of
  // that format; null for any other format (TIFF, SVG, WebP, ...), when it
  // is cut short or corrupt, or when it would need more than
  // kAllocationLimitMb of memory. Never throws.
  static std::shared_ptr<const RasterPicture> Decode(const QByteArray& data);
  static constexpr int kAllocationLimitMb = 256;

  double WidthHmm() const override;
  double HeightHmm() const override;
  void Draw(QPainter& painter, const QRectF& target) const override;
  qint64 MemoryBytes() const override;
  qint64 Pixels() const override { return qint64{image_.width()} * image_.height(); }
  bool DrawsOnlyOnTarget() const override { return true; }

  // Drawing always the same image lets a PDF embed it once.
  const QImage& image() const { return image_; }

 private:
  // The picture scaled to `size` device pixels, kept for the next page.
  const QImage& ScaledTo(QSize size) const;
  void DrawVisiblePart(QPainter& painter, const QRectF& onDevice) const;

  QImage image_;
  // A window's views draw a logo at two sizes, page after page.
  mutable QImage scaled_[2];
};

}  // namespace lvx
