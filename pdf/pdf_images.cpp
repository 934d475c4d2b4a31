// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_images.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace lvx {
namespace {

constexpr int kStripRows = 64;

// Rows `first` to `first + count` in 8 bits a channel, alpha not premultiplied.
QImage Strip(const QImage& image, int first, int count) {
  return image.copy(0, first, image.width(), count)
      .convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

// The rows of an image as a stream with /Predictor 15 holds them, a strip
// at a time: 8-bit gray, RGB or alpha samples, each row filtered with PNG's
// "up" filter (the difference to the row above), which costs one
// subtraction a byte and suits drawings and scans alike. Memory stays at
// a strip whatever the image's size.
class PredictedRows {
 public:
  enum class Samples { kGray, kRgb, kAlpha };

  PredictedRows(const QImage& image, Samples samples)
      : image_(image),
        samples_(samples),
        stride_(static_cast<std::size_t>(image.width()) * (samples == Samples::kRgb ? 3 : 1)),
        previous_(stride_, '\0') {}

  // Replaces `part` with the next strip; false after the last.
  bool Next(std::string& part) {
    if (y_ >= image_.height()) return false;
    const int rows = std::min(kStripRows, image_.height() - y_);
    const QImage strip = Strip(image_, y_, rows);
    y_ += rows;
    part.clear();
    part.reserve(static_cast<std::size_t>(rows) * (stride_ + 1));
    for (int y = 0; y < rows; ++y)
      AddRow(reinterpret_cast<const QRgb*>(strip.constScanLine(y)), part);
    return true;
  }

 private:
  void AddRow(const QRgb* pixels, std::string& part) {
    row_.clear();
    for (int x = 0; x < image_.width(); ++x) {
      const QRgb pixel = pixels[x];
      switch (samples_) {
        case Samples::kGray:
          row_ += static_cast<char>(qGray(pixel));
          break;
        case Samples::kRgb:
          row_ += static_cast<char>(qRed(pixel));
          row_ += static_cast<char>(qGreen(pixel));
          row_ += static_cast<char>(qBlue(pixel));
          break;
        case Samples::kAlpha:
          row_ += static_cast<char>(qAlpha(pixel));
          break;
      }
    }
    part += '\x02';  // the filter of the row: "up"
    for (std::size_t i = 0; i < stride_; ++i) part += static_cast<char>(row_[i] - previous_[i]);
    std::swap(previous_, row_);
  }

  const QImage& image_;
  Samples samples_;
  std::size_t stride_;
  std::string previous_;
  std::string row_;
  int y_ = 0;
};

std::string ImageEntries(QSize size, int channels, bool smooth) {
  std::string entries =
      "/Type/XObject/Subtype/Image/Width " + std::to_string(size.width()) + "/Height " +
      std::to_string(size.height()) + "/BitsPerComponent 8/ColorSpace/" +
      (channels == 1 ? "DeviceGray" : "DeviceRGB") + "/DecodeParms<</Predictor 15/Colors " +
      std::to_string(channels) + "/Columns " + std::to_string(size.width()) + ">>";
  if (smooth) entries += "/Interpolate true";
  return entries;
}

bool Opaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return true;
  for (int first = 0; first < image.height(); first += kStripRows) {
    const QImage strip = Strip(image, first, std::min(kStripRows, image.height() - first));
    for (int y = 0; y < strip.height(); ++y) {
      const auto* pixels = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
      for (int x = 0; x < strip.width(); ++x) {
        if (qAlpha(pixels[x]) != 255) return false;
      }
    }
  }
  return true;
}

}  // namespace

int PdfImages::Write(const QImage& image, bool smooth) {
  const bool gray = image.allGray();
  const int channels = gray ? 1 : 3;
  std::string entries = ImageEntries(image.size(), channels, smooth);
  if (!Opaque(image)) {
    const int mask = file_.Reserve();
    PredictedRows alpha(image, PredictedRows::Samples::kAlpha);
    file_.WriteStreamParts(mask, ImageEntries(image.size(), 1, smooth),
                           [&](std::string& part) { return alpha.Next(part); });
    entries += "/SMask " + std::to_string(mask) + " 0 R";
  }
  const int object = file_.Reserve();
  PredictedRows colours(image, gray ? PredictedRows::Samples::kGray : PredictedRows::Samples::kRgb);
  file_.WriteStreamParts(object, entries, [&](std::string& part) { return colours.Next(part); });
  return object;
}

std::string PdfImages::NameFor(const QImage& image, bool smooth) {
  const auto found = stored_.find(image.cacheKey());
  if (found != stored_.end()) return found->second.name;
  Stored stored{"Im" + std::to_string(stored_.size() + 1), Write(image, smooth)};
  resources_ += "/" + stored.name + " " + std::to_string(stored.object) + " 0 R";
  stored_.emplace(image.cacheKey(), stored);
  return stored.name;
}

std::string PdfImages::ResourceEntries() const {
  return resources_;
}

}  // namespace lvx
