// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawn_area.h"

#include <algorithm>
#include <cstring>

namespace lvx {
namespace {

int TilesOver(int pixels, int tile) {
  return std::max(0, (pixels + tile - 1) / tile);
}

// White is every bit set in these formats.
bool AllBitsWhite(QImage::Format format) {
  return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
         format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

DrawnArea::DrawnArea(QSize pixels)
    : pixels_(pixels),
      columns_(TilesOver(pixels.width(), kTileWidth)),
      rows_(TilesOver(pixels.height(), kTileHeight)),
      marked_(static_cast<std::size_t>(columns_) * rows_, 0) {}

void DrawnArea::Add(const QRect& rect) {
  const QRect on = rect.normalized().intersected(QRect(QPoint(0, 0), pixels_));
  if (on.isEmpty()) return;
  any_ = true;
  const int firstColumn = on.left() / kTileWidth;
  const int lastColumn = on.right() / kTileWidth;
  for (int row = on.top() / kTileHeight; row <= on.bottom() / kTileHeight; ++row) {
    auto* const line = marked_.data() + static_cast<std::size_t>(row) * columns_;
    std::fill(line + firstColumn, line + lastColumn + 1, std::uint8_t{1});
  }
}

void DrawnArea::AddAll() {
  std::fill(marked_.begin(), marked_.end(), std::uint8_t{1});
  any_ = !marked_.empty();
}

void DrawnArea::Whiten(QImage& image) {
  if (!any_) return;
  if (image.size() != pixels_ || !AllBitsWhite(image.format())) {
    image.fill(Qt::white);
  } else {
    // bits() once: it and scanLine() check for sharing on every call.
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int row = 0; row < rows_; ++row) {
      // Neighbouring tiles of a row are whitened in one stretch per line.
      int column = 0;
      while (column < columns_) {
        if (!Marked(column, row)) {
          ++column;
          continue;
        }
        const int first = column;
        while (column < columns_ && Marked(column, row)) ++column;
        WhitenTiles(bits, stride, row, first, column);
      }
    }
  }
  std::fill(marked_.begin(), marked_.end(), std::uint8_t{0});
  any_ = false;
}

void DrawnArea::WhitenTiles(uchar* bits, qsizetype stride, int row, int firstColumn,
                            int endColumn) const {
  const int left = firstColumn * kTileWidth;
  const int right = std::min(endColumn * kTileWidth, pixels_.width());
  const int top = row * kTileHeight;
  const int bottom = std::min(top + kTileHeight, pixels_.height());
  const auto bytes = static_cast<std::size_t>(right - left) * 4;
  uchar* const first = bits + static_cast<std::ptrdiff_t>(left) * 4;
  for (int y = top; y < bottom; ++y) std::memset(first + y * stride, 0xFF, bytes);
}

}  // namespace lvx
