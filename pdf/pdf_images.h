// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "pdf_file.h"

namespace lvx {

// The pictures of a PDF file, each stored once however often it is drawn:
// an image drawn again (the same QImage, by its cache key) reuses its
// object. Pixels are stored losslessly, compressed with PNG predictors;
// transparency becomes a soft mask. Never throws.
class PdfImages {
 public:
  explicit PdfImages(PdfFile& file) : file_(file) {}

  // The resource name ("Im1") of `image`, written to the file the first
  // time; `smooth` asks viewers to interpolate when scaling it.
  std::string NameFor(const QImage& image, bool smooth);
  // The entries of the pages' XObject resource dictionary.
  std::string ResourceEntries() const;

 private:
  struct Stored {
    std::string name;
    int object = 0;
  };

  int Write(const QImage& image, bool smooth);

  PdfFile& file_;
  std::unordered_map<std::int64_t, Stored> stored_;
  std::string resources_;
};

}  // namespace lvx
