// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_images.h"

#include <cstdlib>
#include <string_view>

namespace lvx {
namespace {

int Paeth(int left, int up, int upLeft) {
  const int p = left + up - upLeft;
  const int pa = std::abs(p - left);
  const int pb = std::abs(p - up);
  const int pc = std::abs(p - upLeft);
  if (pa <= pb && pa <= pc) return left;
  return pb <= pc ? up : upLeft;
}

// Rows of `channels` bytes a pixel, each filtered the way PNG does (the
// filter that leaves the smallest differences, row by row), for a stream
// with /Predictor 15.
class PredictedRows {
 public:
  PredictedRows(int width, int channels)
      : stride_(static_cast<std::size_t>(width) * static_cast<std::size_t>(channels)),
        channels_(static_cast<std::size_t>(channels)),
        previous_(stride_, '\0') {}

  void Add(const std::string& row) {
    std::string best;
    long bestCost = -1;
    for (int filter = 0; filter <= 4; ++filter) {
      std::string filtered(1, static_cast<char>(filter));
      long cost = 0;
      for (std::size_t i = 0; i < stride_; ++i) {
        const int x = static_cast<unsigned char>(row[i]);
        const int a = i >= channels_ ? static_cast<unsigned char>(row[i - channels_]) : 0;
        const int b = static_cast<unsigned char>(previous_[i]);
        const int c = i >= channels_ ? static_cast<unsigned char>(previous_[i - channels_]) : 0;
        const int predicted = filter == 1   ? a
                              : filter == 2 ? b
                              : filter == 3 ? (a + b) / 2
                              : filter == 4 ? Paeth(a, b, c)
                                            : 0;
        const auto value = static_cast<signed char>(x - predicted);
        filtered += static_cast<char>(value);
        cost += std::abs(static_cast<int>(value));
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        best = std::move(filtered);
      }
    }
    data_ += best;
    previous_ = row;
  }

  const std::string& data() const { return data_; }

 private:
  std::size_t stride_;
  std::size_t channels_;
  std::string previous_;
  std::string data_;
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

}  // namespace

int PdfImages::Write(const QImage& source, bool smooth) {
  const QImage image = source.convertToFormat(source.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                       : QImage::Format_RGB32);
  const bool gray = image.allGray();
  const int channels = gray ? 1 : 3;
  PredictedRows colours(image.width(), channels);
  PredictedRows alpha(image.width(), 1);
  bool opaque = true;
  std::string row;
  std::string alphaRow;
  for (int y = 0; y < image.height(); ++y) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    row.clear();
    alphaRow.clear();
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = pixels[x];
      if (gray) {
        row += static_cast<char>(qGray(pixel));
      } else {
        row += static_cast<char>(qRed(pixel));
        row += static_cast<char>(qGreen(pixel));
        row += static_cast<char>(qBlue(pixel));
      }
      alphaRow += static_cast<char>(qAlpha(pixel));
      opaque = opaque && qAlpha(pixel) == 255;
    }
    colours.Add(row);
    if (image.hasAlphaChannel()) alpha.Add(alphaRow);
  }
  std::string entries = ImageEntries(image.size(), channels, smooth);
  if (!opaque) {
    const int mask = file_.Reserve();
    file_.WriteStream(mask, ImageEntries(image.size(), 1, smooth), alpha.data());
    entries += "/SMask " + std::to_string(mask) + " 0 R";
  }
  const int object = file_.Reserve();
  file_.WriteStream(object, entries, colours.data());
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
