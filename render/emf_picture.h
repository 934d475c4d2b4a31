// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRectF>
#include <memory>

#include "drawable_picture.h"

class QSvgRenderer;

namespace lvx {

// An enhanced metafile, turned into SVG once and drawn as vectors. Its own
// size is the frame its header records.
class EmfPicture : public DrawablePicture {
 public:
  // True when `data` starts with an enhanced metafile header.
  static bool Detect(QByteArrayView data);
  // The picture in `data`, or null when the header is inconsistent, the
  // records do not run in order to the end-of-file record, or the
  // conversion fails. Never throws.
  static std::shared_ptr<const EmfPicture> Decode(const QByteArray& data);

  EmfPicture(std::unique_ptr<QSvgRenderer> svg, QRectF frameInSvg, double widthHmm,
             double heightHmm, qint64 bytes);
  ~EmfPicture() override;

  double WidthHmm() const override { return widthHmm_; }
  double HeightHmm() const override { return heightHmm_; }
  void Draw(QPainter& painter, const QRectF& target) const override;
  qint64 MemoryBytes() const override { return bytes_; }

 private:
  std::unique_ptr<QSvgRenderer> svg_;
  QRectF frameInSvg_;
  double widthHmm_;
  double heightHmm_;
  qint64 bytes_;
};

}  // namespace lvx
