// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_font_face.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "pdf_syntax.h"

namespace lvx {
namespace {

// Qt gives a face's tables one by one, never as a file, so the face is put
// together again from them: from the tables shaping reads while pages are
// drawn, and from those embedding reads once, when the file ends.
constexpr const char* kShapingTables[] = {"head", "hhea", "maxp", "hmtx", "cmap", "OS/2",
                                          "post", "GSUB", "GPOS", "GDEF", "kern"};
constexpr const char* kEmbeddingTables[] = {"head", "hhea", "maxp", "hmtx", "loca",
                                            "glyf", "CFF ", "OS/2", "post", "name"};

// Not needed inside a PDF file: the page says which glyph goes where.
constexpr const char* kDroppedTables[] = {"GSUB", "GPOS", "GDEF", "kern", "cmap", "name",
                                          "gasp", "hdmx", "LTSH", "VDMX", "DSIG", "JSTF",
                                          "BASE", "morx", "mort", "vhea", "vmtx"};

hb_tag_t Tag(const char* name) {
  return HB_TAG(name[0], name[1], name[2], name[3]);
}

template <std::size_t N>
hb_face_t* FaceFromTables(const QRawFont& rawFont, const char* const (&names)[N]) {
  hb_face_t* builder = hb_face_builder_create();
  std::vector<QByteArray> tables;
  tables.reserve(N);
  for (const char* name : names) {
    tables.push_back(rawFont.fontTable(name));
    const QByteArray& table = tables.back();
    if (table.isEmpty()) continue;
    hb_blob_t* blob = hb_blob_create(table.constData(), static_cast<unsigned>(table.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_builder_add_table(builder, Tag(name), blob);
    hb_blob_destroy(blob);
  }
  hb_blob_t* sfnt = hb_face_reference_blob(builder);
  hb_face_destroy(builder);
  hb_face_t* face = hb_face_create(sfnt, 0);
  hb_blob_destroy(sfnt);
  return face;
}

// A big-endian value of the table `name` at `offset`; 0 when absent.
int TableValue(hb_face_t* face, const char* name, unsigned offset, bool sign16) {
  hb_blob_t* table = hb_face_reference_table(face, Tag(name));
  unsigned length = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(hb_blob_get_data(table, &length));
  int value = 0;
  if (data != nullptr && offset + 4 <= length) {
    value = sign16 ? static_cast<std::int16_t>(data[offset] << 8 | data[offset + 1])
                   : static_cast<int>(data[offset] << 24 | data[offset + 1] << 16 |
                                      data[offset + 2] << 8 | data[offset + 3]);
  }
  hb_blob_destroy(table);
  return value;
}

std::string Hex16(std::uint32_t value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
  return out;
}

}  // namespace

PdfFontFace::PdfFontFace(const QRawFont& rawFont, std::string name, PdfFile& file)
    : name_(std::move(name)), file_(file), rawFont_(rawFont) {
  face_ = FaceFromTables(rawFont, kShapingTables);
  const bool glyf = !rawFont.fontTable("loca").isEmpty();
  cff_ = !glyf && !rawFont.fontTable("CFF ").isEmpty();
  if (!glyf && !cff_) return;
  unitsPerEm_ = static_cast<int>(hb_face_get_upem(face_));
  font_ = hb_font_create(face_);
  hb_font_set_scale(font_, unitsPerEm_, unitsPerEm_);
  buffer_ = hb_buffer_create();
  italic_ = rawFont.style() != QFont::StyleNormal;
  fixedPitch_ = TableValue(face_, "post", 12, false) != 0;
}

PdfFontFace::~PdfFontFace() {
  hb_buffer_destroy(buffer_);
  hb_font_destroy(font_);
  hb_face_destroy(face_);
}

const ShapedRun& PdfFontFace::Shape(const QString& text) {
  // The same characters as last time, not merely equal ones: held here,
  // they cannot have changed.
  if (lastRun_ != nullptr && text.constData() == lastText_.constData() &&
      text.size() == lastText_.size()) {
    return *lastRun_;
  }
  lastRun_ = runs_.Find(text);
  if (lastRun_ == nullptr) lastRun_ = &runs_.Keep(text, ShapeAnew(text));
  lastText_ = text;
  return *lastRun_;
}

ShapedRun PdfFontFace::ShapeAnew(const QString& text) {
  ShapedRun run;
  glyphs_.clear();
  if (font_ == nullptr) return run;
  hb_buffer_clear_contents(buffer_);
  const auto* units = reinterpret_cast<const std::uint16_t*>(text.utf16());
  const auto length = static_cast<int>(text.size());
  hb_buffer_add_utf16(buffer_, units, length, 0, length);
  hb_buffer_guess_segment_properties(buffer_);
  hb_shape(font_, buffer_, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer_, nullptr);
  for (unsigned i = 0; i < count; ++i) {
    const std::uint32_t glyph = infos[i].codepoint;
    if (glyph == 0) run.complete = false;
    run.advance += positions[i].x_advance;
    glyphs_.push_back({glyph, positions[i].x_advance});
    Encode(glyphs_.back());
    if (widths_.count(glyph) == 0) {
      // Exact to the thousandth, so that the widths place unkerned glyphs
      // where shaping does.
      const double advance = hb_font_get_glyph_h_advance(font_, glyph);
      widths_[glyph] = std::round(advance * 1000000.0 / unitsPerEm_) / 1000.0;
    }
    // The text a glyph stands for runs to the next glyph's cluster; glyphs
    // of one cluster after its first stand for nothing more.
    if (texts_.count(glyph) != 0) continue;
    const unsigned start = infos[i].cluster;
    unsigned end = static_cast<unsigned>(length);
    for (unsigned j = 0; j < count; ++j) {
      if (infos[j].cluster > start && infos[j].cluster < end) end = infos[j].cluster;
    }
    if (i > 0 && infos[i - 1].cluster == start) continue;
    texts_[glyph] = std::u16string(reinterpret_cast<const char16_t*>(units) + start, end - start);
  }
  run.parts = Parts(glyphs_);
  return run;
}

std::vector<ShapedRun::Part> PdfFontFace::Parts(const std::vector<ShapedGlyph>& glyphs) const {
  std::vector<ShapedRun::Part> parts;
  const double toThousandths = 1000.0 / unitsPerEm_;
  // Where the shaped text has its pen and where the widths put it.
  double shaped = 0;
  double shown = 0;
  for (std::size_t i = 0; i < glyphs.size();) {
    const int page = glyphs[i].page;
    std::string out = "[(";
    for (; i < glyphs.size() && glyphs[i].page == page; ++i) {
      const ShapedGlyph& glyph = glyphs[i];
      const long correction = std::lround(shown - shaped);
      if (correction != 0) {
        out += ')';
        out += std::to_string(correction);
        out += '(';
        shown -= static_cast<double>(correction);
      }
      const char code = static_cast<char>(glyph.code);
      if (code == '(' || code == ')' || code == '\\') out += '\\';
      // A reader turns a CR in a string into a line feed.
      out += code == '\r' ? std::string("\\r") : std::string(1, code);
      shaped += glyph.advance * toThousandths;
      shown += Width(glyph.glyph);
    }
    out += ")]";
    parts.push_back({page, std::move(out)});
  }
  return parts;
}

void PdfFontFace::Encode(ShapedGlyph& shaped) {
  const auto known = codes_.find(shaped.glyph);
  if (known != codes_.end()) {
    shaped.page = known->second.first;
    shaped.code = known->second.second;
    return;
  }
  if (pages_.empty() || pages_.back().glyphs.size() == 256) {
    std::string resource = name_;
    if (!pages_.empty()) {
      resource += '_';
      resource += std::to_string(pages_.size());
    }
    pages_.push_back({resource, file_.Reserve(), {}});
  }
  shaped.page = static_cast<int>(pages_.size() - 1);
  shaped.code = static_cast<unsigned char>(pages_.back().glyphs.size());
  pages_.back().glyphs.push_back(shaped.glyph);
  codes_[shaped.glyph] = {shaped.page, shaped.code};
}

double PdfFontFace::Width(std::uint32_t glyph) const {
  const auto found = widths_.find(glyph);
  return found == widths_.end() ? 0 : found->second;
}

std::string PdfFontFace::SubsetTag() const {
  // Six capitals that differ for different subsets of a face.
  std::uint32_t hash = 2166136261U;
  for (const auto& [glyph, width] : widths_) hash = (hash ^ glyph) * 16777619U;
  for (const QChar c : rawFont_.familyName() + rawFont_.styleName()) {
    hash = (hash ^ c.unicode()) * 16777619U;
  }
  std::string tag;
  for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
  return tag;
}

std::string PdfFontFace::Descriptor(hb_face_t* embedded, const std::string& name,
                                    int fontFile) const {
  const double scale = 1000.0 / unitsPerEm_;
  hb_position_t ascent = 0;
  hb_position_t descent = 0;
  hb_position_t capHeight = 0;
  hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &ascent);
  hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &descent);
  if (!hb_ot_metrics_get_position(font_, HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight)) {
    capHeight = ascent;
  }
  // Fixed pitch, nonsymbolic, italic.
  const int flags = (fixedPitch_ ? 1 : 0) | 32 | (italic_ ? 64 : 0);
  std::string d =
      "<</Type/FontDescriptor/FontName/" + name + "/Flags " + std::to_string(flags) + "/FontBBox[";
  for (const unsigned offset : {36U, 38U, 40U, 42U}) {
    AppendNumber(d, TableValue(embedded, "head", offset, true) * scale, 0);
  }
  d += "]/ItalicAngle ";
  // The post table's italic angle, a 16.16 fixed-point number.
  AppendNumber(d, TableValue(embedded, "post", 4, false) / 65536.0, 1);
  d += "/Ascent ";
  AppendNumber(d, ascent * scale, 0);
  d += "/Descent ";
  AppendNumber(d, descent * scale, 0);
  d += "/CapHeight ";
  AppendNumber(d, capHeight * scale, 0);
  d += "/StemV 80/" + std::string(cff_ ? "FontFile3 " : "FontFile2 ") + std::to_string(fontFile) +
       " 0 R>>";
  return d;
}

std::string PdfFontFace::Widths() const {
  std::string w = "[";
  std::uint32_t next = 0;
  bool open = false;
  for (const auto& [glyph, width] : widths_) {
    if (!open || glyph != next) {
      if (open) w += "]";
      w += std::to_string(glyph) + "[";
      open = true;
    }
    AppendNumber(w, width);
    next = glyph + 1;
  }
  if (open) w += "]";
  return w + "]";
}

namespace {

std::string Hex8(unsigned value) {
  return Hex16(value).substr(2);
}

// A CMap of one-byte codes, in blocks of the 100 entries a block may hold.
std::string ByteCMap(std::string_view header, std::string_view kind,
                     const std::vector<std::string>& entries) {
  std::string map(header);
  map += "1 begincodespacerange <00><FF> endcodespacerange\n";
  for (std::size_t start = 0; start < entries.size(); start += 100) {
    const std::size_t end = std::min(entries.size(), start + 100);
    map += std::to_string(end - start) + " begin" + std::string(kind) + "\n";
    for (std::size_t i = start; i < end; ++i) map += entries[i];
    map += "end" + std::string(kind) + "\n";
  }
  return map + "endcmap CMapName currentdict/CMap defineresource pop end end\n";
}

constexpr std::string_view kIdentitySystem =
    "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>";

}  // namespace

std::string PdfFontFace::EncodingCMap(std::size_t page) const {
  std::vector<std::string> entries;
  const std::vector<std::uint32_t>& glyphs = pages_[page].glyphs;
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    std::string entry(1, '<');
    entry += Hex8(static_cast<unsigned>(code));
    entry += "> ";
    entry += std::to_string(glyphs[code]);
    entries.push_back(entry + "\n");
  }
  const std::string header = "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n" +
                             std::string(kIdentitySystem) + "def\n/CMapName/" + name_ + "-" +
                             std::to_string(page) + " def/CMapType 1 def\n";
  return ByteCMap(header, "cidchar", entries);
}

std::string PdfFontFace::ToUnicode(std::size_t page) const {
  std::vector<std::string> entries;
  const std::vector<std::uint32_t>& glyphs = pages_[page].glyphs;
  for (std::size_t code = 0; code < glyphs.size(); ++code) {
    const auto text = texts_.find(glyphs[code]);
    if (text == texts_.end() || text->second.empty()) continue;
    std::string entry(1, '<');
    entry += Hex8(static_cast<unsigned>(code));
    entry += "><";
    for (const char16_t unit : text->second) entry += Hex16(unit);
    entries.push_back(entry + ">\n");
  }
  return ByteCMap(
      "/CIDInit/ProcSet findresource begin 12 dict begin begincmap\n"
      "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
      "/CMapName/Adobe-Identity-UCS def/CMapType 2 def\n",
      "bfchar", entries);
}

std::string PdfFontFace::BaseName(hb_face_t* embedded) const {
  char name[128] = {};
  unsigned size = sizeof name;
  hb_ot_name_get_utf8(embedded, HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &size, name);
  if (name[0] != '\0') return PlainName(name);
  return PlainName((rawFont_.familyName() + QLatin1Char('-') + rawFont_.styleName()).toStdString());
}

int PdfFontFace::WriteProgram(PdfFile& file, hb_face_t* embedded) const {
  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (input == nullptr) return 0;
  hb_set_t* glyphs = hb_subset_input_glyph_set(input);
  for (const auto& [glyph, width] : widths_) hb_set_add(glyphs, glyph);
  hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
  for (const char* name : kDroppedTables) hb_set_add(dropped, Tag(name));
  // Glyph indices stay, so that the content's codes need no mapping; the
  // hinting programs are left out: pages are printed, not hinted.
  hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NO_HINTING);
  hb_face_t* subset = hb_subset_or_fail(embedded, input);
  hb_subset_input_destroy(input);
  if (subset == nullptr) return 0;
  hb_blob_t* program = hb_face_reference_blob(subset);
  unsigned length = 0;
  const char* data = hb_blob_get_data(program, &length);
  const int fontFile = file.Reserve();
  file.WriteStream(fontFile,
                   cff_ ? std::string("/Subtype/OpenType") : "/Length1 " + std::to_string(length),
                   std::string_view(data, length));
  hb_blob_destroy(program);
  hb_face_destroy(subset);
  return fontFile;
}

std::string PdfFontFace::Write() const {
  if (font_ == nullptr || widths_.empty()) return {};
  // The outlines are read only now, one face at a time.
  hb_face_t* embedded = FaceFromTables(rawFont_, kEmbeddingTables);
  const int fontFile = WriteProgram(file_, embedded);
  const std::string name = SubsetTag() + "+" + BaseName(embedded);
  const std::string descriptor = Descriptor(embedded, name, fontFile);
  hb_face_destroy(embedded);
  if (fontFile == 0) return {};

  const int descriptorObject = file_.Reserve();
  file_.WriteObject(descriptorObject, descriptor);
  const int cidFont = file_.Reserve();
  file_.WriteObject(cidFont, "<</Type/Font/Subtype/" +
                                 std::string(cff_ ? "CIDFontType0" : "CIDFontType2") +
                                 "/BaseFont/" + name + std::string(kIdentitySystem) +
                                 "/FontDescriptor " + std::to_string(descriptorObject) + " 0 R/W" +
                                 Widths() + (cff_ ? "" : "/CIDToGIDMap/Identity") + ">>");
  std::string resources;
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    const int encoding = file_.Reserve();
    file_.WriteStream(
        encoding,
        "/Type/CMap/CMapName/" + name_ + "-" + std::to_string(page) + std::string(kIdentitySystem),
        EncodingCMap(page));
    const int toUnicode = file_.Reserve();
    file_.WriteStream(toUnicode, "", ToUnicode(page));
    const int object = pages_[page].object;
    file_.WriteObject(object, "<</Type/Font/Subtype/Type0/BaseFont/" + name + "/Encoding " +
                                  std::to_string(encoding) + " 0 R/DescendantFonts[" +
                                  std::to_string(cidFont) + " 0 R]/ToUnicode " +
                                  std::to_string(toUnicode) + " 0 R>>");
    resources += "/" + pages_[page].resource + " " + std::to_string(object) + " 0 R";
  }
  return resources;
}

}  // namespace lvx
