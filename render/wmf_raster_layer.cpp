// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmf_raster_layer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace lvx::wmf {
namespace {

constexpr std::uint32_t kRgb = 0xFFFFFF;
// The layer's pixels, at most: 2048 by 2048, 48 MB with the scratch image.
constexpr double kMaxPixels = 2048.0 * 2048.0;

QSize LayerSize(const QRectF& area, const QTransform& toDevice) {
  const QRectF onDevice = toDevice.mapRect(area);
  double width = std::ceil(std::abs(onDevice.width()));
  double height = std::ceil(std::abs(onDevice.height()));
  if (!(width >= 1 && height >= 1)) return {};
  const double shrink = std::min(1.0, std::sqrt(kMaxPixels / (width * height)));
  width = std::max(1.0, std::floor(width * shrink));
  height = std::max(1.0, std::floor(height * shrink));
  return {static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

const QImage* LayerImages::Find(const Key& key) const {
  for (const auto& [kept, image] : kept_) {
    if (kept == key) return &image;
  }
  return nullptr;
}

void LayerImages::Keep(const Key& key, QImage image) {
  if (kept_.size() >= kMaxKept) kept_.erase(kept_.begin());
  kept_.emplace_back(key, std::move(image));
}

qint64 LayerImages::MemoryBytes() const {
  qint64 bytes = 0;
  for (const auto& entry : kept_) bytes += entry.second.sizeInBytes();
  return bytes;
}

RasterLayer::RasterLayer(const QRectF& area, const QTransform& toDevice, LayerImages* images)
    : area_(area.normalized()), size_(LayerSize(area_, toDevice)), images_(images) {
  if (size_.isEmpty()) return;
  toPixels_ = QTransform::fromTranslate(-area_.left(), -area_.top()) *
              QTransform::fromScale(size_.width() / area_.width(), size_.height() / area_.height());
}

void RasterLayer::Combine(RasterOp operation, const QImage& image, const QRectF& source,
                          const QRectF& target, const QTransform& toArea, bool smooth) {
  // The work waits for the flush, which may find the result made already.
  if (size_.isEmpty() || image.isNull()) return;
  queued_.push_back({operation, image, source, target, toArea, smooth});
}

void RasterLayer::Apply(const Blit& blit) {
  const RasterOp operation = blit.operation;
  const QRectF& target = blit.target;
  const QTransform toPixels = blit.toArea * toPixels_;
  const QRect touched =
      toPixels.mapRect(target.normalized()).toAlignedRect().intersected(scratch_.rect());
  if (touched.isEmpty()) return;
  // The bitmap as it lands on the layer's pixels; alpha tells where it
  // lands at all.
  for (int y = touched.top(); y <= touched.bottom(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(scratch_.scanLine(y));
    std::fill(row + touched.left(), row + touched.right() + 1, 0u);
  }
  {
    QPainter painter(&scratch_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, blit.smooth);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setTransform(toPixels);
    painter.drawImage(target, blit.image, blit.source);
  }
  for (int y = touched.top(); y <= touched.bottom(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch_.constScanLine(y));
    const std::size_t base = static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.width());
    for (int x = touched.left(); x <= touched.right(); ++x) {
      if (qAlpha(row[x]) < 128) continue;
      const std::uint32_t bits = row[x] & kRgb;
      std::uint32_t& keep = keep_[base + static_cast<std::size_t>(x)];
      std::uint32_t& flip = flip_[base + static_cast<std::size_t>(x)];
      switch (operation) {
        case RasterOp::kCopy:
          keep = 0;
          flip = bits;
          break;
        case RasterOp::kAnd:
          keep &= bits;
          flip &= bits;
          break;
        case RasterOp::kOr:
          keep &= ~bits & kRgb;
          flip |= bits;
          break;
        case RasterOp::kXor:
          flip ^= bits;
          break;
      }
    }
  }
}

QImage RasterLayer::Result() {
  if (queued_.empty()) return {};
  const LayerImages::Key key{flushed_, size_, area_.size(), queued_.front().smooth};
  if (images_ != nullptr) {
    if (const QImage* made = images_->Find(key)) return *made;
  }
  const auto count =
      static_cast<std::size_t>(size_.width()) * static_cast<std::size_t>(size_.height());
  keep_.assign(count, kRgb);
  flip_.assign(count, 0);
  if (scratch_.size() != size_) scratch_ = QImage(size_, QImage::Format_ARGB32);
  if (scratch_.isNull()) return {};
  for (const Blit& blit : queued_) Apply(blit);
  QImage result(size_, QImage::Format_ARGB32);
  if (result.isNull()) return result;
  for (int y = 0; y < size_.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
    const std::size_t base = static_cast<std::size_t>(y) * static_cast<std::size_t>(size_.width());
    for (int x = 0; x < size_.width(); ++x) {
      const std::uint32_t keep = keep_[base + static_cast<std::size_t>(x)];
      const std::uint32_t flip = flip_[base + static_cast<std::size_t>(x)];
      // Unchanged shows the page; anything else is drawn over white paper.
      row[x] = keep == kRgb && flip == 0 ? 0u : 0xFF000000u | ((kRgb & keep) ^ flip);
    }
  }
  if (images_ != nullptr) images_->Keep(key, result);
  return result;
}

void RasterLayer::Flush(QPainter& painter) {
  if (queued_.empty()) return;
  const QImage result = Result();
  if (!result.isNull()) painter.drawImage(area_, result);
  queued_.clear();
  ++flushed_;
}

}  // namespace lvx::wmf
