// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

namespace lvx::testing {

// A word of a PDF page, with its box in millimetres from the page's
// top-left corner.
struct PdfWord {
  std::string text;
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

struct PdfPage {
  double widthMm = 0;
  double heightMm = 0;
  std::vector<PdfWord> words;

  bool Landscape() const { return widthMm > heightMm; }
  // The first word with this text, if any.
  const PdfWord* Find(const std::string& text) const;
  // The page's words joined with single blanks.
  std::string Text() const;
};

// A picture as stored in a PDF file: which page shows it, the object that
// holds its pixels, how they are encoded ("image" lossless, "jpeg", ...) and
// at what resolution it is drawn.
struct PdfImage {
  int page = 0;
  int width = 0;
  int height = 0;
  std::string encoding;
  int object = 0;
  int xPpi = 0;
  int yPpi = 0;
};

// What poppler's tools read from a PDF file: pages with their words
// (pdftotext -bbox) and the pictures drawn (pdfimages -list). Nothing when a
// tool fails on the file, or when PdfFaults finds a fault or warning.
struct PdfProbe {
  std::vector<PdfPage> pages;
  std::vector<PdfImage> images;

  static std::optional<PdfProbe> Read(const std::string& path);
  // Read, for a file the test cannot go on without: throws when that fails.
  static PdfProbe Require(const std::string& path);
  // Each page's Text(), in order.
  std::vector<std::string> Texts() const;
};

// Page `page` of the PDF file `pdf` drawn by poppler's pdftoppm at `dpi`,
// as 32-bit RGB; only its top-left `part` in pixels when given (a whole
// page takes long). The PNG goes beside `pdf`. Throws when pdftoppm fails.
QImage RenderedPage(const std::string& pdf, int page = 1, int dpi = 72, QSize part = {});

}  // namespace lvx::testing
