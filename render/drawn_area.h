// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

namespace lvx {

// The parts of an image that drawing has touched since it was last whitened,
// kept as tiles of a few device pixels. Whitening only those is far quicker
// than filling a high-density window's image whole on every page, which is
// mostly white paper.
class DrawnArea {
 public:
  static constexpr int kTileWidth = 32;
  static constexpr int kTileHeight = 8;

  // An area over an image of `pixels` device pixels, nothing drawn yet.
  explicit DrawnArea(QSize pixels);

  // Marks the device pixels of `rect`; what lies off the image is dropped.
  void Add(const QRect& rect);
  // Marks the whole image, for drawing whose reach is not known.
  void AddAll();
  // Sets every pixel of the marked tiles of `image` (of the size given at
  // construction) to white, and unmarks them. Images in other than the
  // 32-bit formats are filled whole.
  void Whiten(QImage& image);

 private:
  bool Marked(int column, int row) const {
    return marked_[static_cast<std::size_t>(row) * columns_ + column] != 0;
  }
  void WhitenTiles(uchar* bits, qsizetype stride, int row, int firstColumn, int endColumn) const;

  QSize pixels_;
  int columns_;
  int rows_;
  std::vector<std::uint8_t> marked_;
  bool any_ = false;
};

}  // namespace lvx
