// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <memory>
#include <string>
#include <vector>

#include "pdf_content.h"
#include "pdf_file.h"
#include "pdf_font_face.h"

namespace lvx {

// The fonts of a PDF file: the face Qt draws a QFont with, once per face
// however many sizes and fonts use it, with what Qt makes up when the face
// lacks the weight or slant asked for. Never throws.
class PdfFonts {
 public:
  explicit PdfFonts(PdfFile& file) : file_(file) {}

  struct Choice {
    PdfFontFace* face = nullptr;  // null when the font cannot be embedded
    bool emboldened = false;      // bold asked for, the face is not
    bool slanted = false;         // italic asked for, the face is upright
  };
  // The face that draws `font`.
  Choice For(const QFont& font);

  // Writes every face that drew something; the entries of the pages' font
  // resource dictionary.
  std::string WriteAll();

 private:
  struct Known {
    QFont font;
    Choice choice;
  };

  PdfFile& file_;
  std::vector<std::unique_ptr<PdfFontFace>> faces_;
  std::vector<QString> faceKeys_;
  std::vector<Known> known_;  // the fonts met recently
  std::size_t last_ = 0;      // of known_, the one asked for last
};

// Shows `run` of `face` at `size` in the open text object: the font of
// each code page it uses, and its glyph strings.
void ShowRun(PdfContent& content, const PdfFontFace& face, double size, const ShapedRun& run);

}  // namespace lvx
