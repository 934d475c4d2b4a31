// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRawFont>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdf_file.h"
#include "pdf_shaped_runs.h"

// HarfBuzz stays out of the header.
struct hb_face_t;
struct hb_font_t;
struct hb_buffer_t;

namespace lvx {

// One glyph of a shaped text: its index in the face, how far it moves the
// pen (in the face's design units), and its one-byte code in the font
// resource of its code page.
struct ShapedGlyph {
  std::uint32_t glyph = 0;
  std::int32_t advance = 0;
  int page = 0;
  unsigned char code = 0;
};

// A font face as embedded in a PDF file: the face's tables as Qt uses them,
// shaped the way Qt shapes text (HarfBuzz with its default features, so
// kerning and ligatures come out as on the screen), and the glyphs used so
// far, which Write embeds as a subset with their widths and the text they
// stand for. The content shows glyphs by one-byte codes, given in the order
// glyphs are first used; every 256 glyphs of a face make one font resource
// (a code page) over the same embedded subset. A text is shaped once and
// its run kept while it is in use. Never throws.
class PdfFontFace {
 public:
  // The face of `rawFont`, whose font resources are named after `name`;
  // check usable() before shaping with it.
  PdfFontFace(const QRawFont& rawFont, std::string name, PdfFile& file);
  ~PdfFontFace();
  PdfFontFace(const PdfFontFace&) = delete;
  PdfFontFace& operator=(const PdfFontFace&) = delete;

  // False when the face's outlines cannot be embedded (no TrueType or CFF
  // outlines among its tables).
  bool usable() const { return font_ != nullptr; }
  int unitsPerEm() const { return unitsPerEm_; }
  // The name of the font resource of code page `page`.
  const std::string& Resource(int page) const { return pages_.at(page).resource; }

  // The run of `text`, its glyphs recorded as used; valid until the next
  // call. Empty when the face is not usable.
  const ShapedRun& Shape(const QString& text);
  // The width of `glyph` as the embedded font gives it, in thousandths of
  // an em (the units of a PDF glyph width).
  double Width(std::uint32_t glyph) const;
  // True once a glyph of the face has been shaped.
  bool used() const { return !widths_.empty(); }
  // Writes the font (a Type0 font for each code page over one CIDFont with
  // the subset of the used glyphs) and returns the entries of the pages'
  // font resource dictionary; nothing when the subset could not be made.
  std::string Write() const;

 private:
  std::string SubsetTag() const;
  // The PostScript name of the face, from the embedding tables `embedded`.
  std::string BaseName(hb_face_t* embedded) const;
  // Writes the subset font program; its object number, 0 on failure.
  int WriteProgram(PdfFile& file, hb_face_t* embedded) const;
  std::string Descriptor(hb_face_t* embedded, const std::string& name, int fontFile) const;
  std::string Widths() const;
  std::string EncodingCMap(std::size_t page) const;
  std::string ToUnicode(std::size_t page) const;
  // The code of `glyph`, given it on first use.
  void Encode(ShapedGlyph& glyph);
  ShapedRun ShapeAnew(const QString& text);
  // The glyph strings of `glyphs`, code page by code page.
  std::vector<ShapedRun::Part> Parts(const std::vector<ShapedGlyph>& glyphs) const;

  struct CodePage {
    std::string resource;
    int object = 0;                     // the Type0 font
    std::vector<std::uint32_t> glyphs;  // by code
  };

  std::string name_;
  PdfFile& file_;
  QRawFont rawFont_;
  bool italic_ = false;
  bool fixedPitch_ = false;
  bool cff_ = false;
  hb_face_t* face_ = nullptr;
  hb_font_t* font_ = nullptr;
  hb_buffer_t* buffer_ = nullptr;
  int unitsPerEm_ = 1000;
  std::map<std::uint32_t, double> widths_;  // used glyphs, in thousandths of an em
  std::unordered_map<std::uint32_t, std::u16string> texts_;
  std::vector<CodePage> pages_;
  std::unordered_map<std::uint32_t, std::pair<int, unsigned char>> codes_;
  ShapedRuns runs_;
  // The text shaped last and its run: a view measures a text and then
  // draws it.
  QString lastText_;
  const ShapedRun* lastRun_ = nullptr;
  std::vector<ShapedGlyph> glyphs_;  // the one being shaped
};

}  // namespace lvx
