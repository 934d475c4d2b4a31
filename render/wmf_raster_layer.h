// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRectF>
#include <QTransform>
#include <cstdint>
#include <vector>

class QPainter;

namespace lvx::wmf {

// Bitmap operations that combine a picture with what lies below it.
enum class RasterOp { kCopy, kAnd, kOr, kXor };

// The pictures a metafile's layers came to, kept with the picture so that
// drawing it again at the same size (a logo on every page) draws the very
// same images, which a PDF then stores once.
class LayerImages {
 public:
  struct Key {
    int index = 0;  // which of the picture's layers
    QSize pixels;
    QSizeF area;
    bool smooth = false;
    bool operator==(const Key&) const = default;
  };
  const QImage* Find(const Key& key) const;
  void Keep(const Key& key, QImage image);
  qint64 MemoryBytes() const;

 private:
  static constexpr std::size_t kMaxKept = 8;
  std::vector<std::pair<Key, QImage>> kept_;
};

// Carries out a metafile's raster operations for a device that cannot (a
// PDF file): the bitmaps are combined in an image of their own, pixel by
// pixel as a screen combines them with what lies below, and that image is
// drawn where the bitmaps go. Each pixel keeps, bit by bit, how it depends
// on what lay below (kept, set, cleared or inverted), so a mask and its
// picture (AND, then OR) leave the page below them untouched around the
// logo; where a pixel still depends on the page below, the page counts as
// white paper. Never throws.
class RasterLayer {
 public:
  // `area`: where the picture goes, in the painter's coordinates;
  // `toDevice`: from those coordinates to the device's pixels, which
  // decide the layer's resolution (within a memory bound).
  RasterLayer(const QRectF& area, const QTransform& toDevice, LayerImages* images = nullptr);

  // Combines the `source` part of `image`, drawn over `target` through
  // `toArea` (from the metafile's units to the area's coordinates), with
  // the layer.
  void Combine(RasterOp operation, const QImage& image, const QRectF& source, const QRectF& target,
               const QTransform& toArea, bool smooth);

  bool pending() const { return !queued_.empty(); }

  // The layer as a picture: what the operations left unchanged is
  // transparent. Null when nothing is pending.
  QImage Result();

  // Draws the layer onto `painter`, whose transform maps the area's
  // coordinates, and starts again with nothing pending.
  void Flush(QPainter& painter);

 private:
  struct Blit {
    RasterOp operation;
    QImage image;
    QRectF source;
    QRectF target;
    QTransform toArea;
    bool smooth;
  };
  void Apply(const Blit& blit);

  QRectF area_;
  QSize size_;
  QTransform toPixels_;
  LayerImages* images_;
  // Layers drawn so far: the key of the next one's image.
  int flushed_ = 0;
  std::vector<Blit> queued_;
  // Per pixel, the result is (below AND keep_) XOR flip_, 24 bits of RGB.
  std::vector<std::uint32_t> keep_;
  std::vector<std::uint32_t> flip_;
  QImage scratch_;
};

}  // namespace lvx::wmf
