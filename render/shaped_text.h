// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPaintDevice;

namespace lvx {

// A text laid out in one font, as QPainter::drawText lays it out from a
// point: its glyphs, placed relative to the start of its baseline, its
// advance, and the rectangle its glyphs cover, relative to the same point.
struct ShapedText {
  QList<QGlyphRun> runs;
  double advance = 0.0;
  QRectF ink;
};

// What a font measures on a device, in its logical pixels.
struct FontFacts {
  double ascent = 0.0;
  double descent = 0.0;
};

// The texts a view draws on a screen's image, laid out once per font and
// kept: documents repeat their labels, headings and amounts page after page,
// and laying a text out is half the work of drawing it. Short one-line texts
// are kept, up to kMaxTexts of them: when half of them are new since the
// last time, the texts not drawn since then are dropped, so that labels on
// every page stay while amounts drawn once go. Never throws.
class ShapedTexts {
 public:
  static constexpr std::size_t kMaxLength = 160;
  static constexpr std::size_t kMaxTexts = 2048;
  static constexpr std::size_t kMaxFonts = 64;

  // The measures of `font` on `device`.
  const FontFacts& Facts(const QFont& font, const QPaintDevice& device,
                         Qt::LayoutDirection direction);
  // `text` (Windows-1252) laid out in `font` on `device`; null for a text
  // not kept: longer than kMaxLength bytes, or holding control characters
  // other than the tab, which may break it into lines.
  const ShapedText* Find(const QFont& font, const QPaintDevice& device,
                         Qt::LayoutDirection direction, std::string_view text);

  std::size_t size() const { return recent_.size() + older_.size(); }

 private:
  struct Font {
    QFont font;
    Qt::LayoutDirection direction;
    FontFacts facts;
  };
  struct KeyView {
    std::size_t font;
    std::string_view text;
  };
  struct Key {
    std::size_t font;
    std::string text;
    operator KeyView() const { return {font, text}; }
  };
  // Looked up by a view of the text, so that finding it copies nothing.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(const KeyView& key) const;
  };
  struct KeyEqual {
    using is_transparent = void;
    bool operator()(const KeyView& a, const KeyView& b) const {
      return a.font == b.font && a.text == b.text;
    }
  };

  std::size_t FontIndex(const QFont& font, const QPaintDevice& device,
                        Qt::LayoutDirection direction);

  std::vector<Font> fonts_;
  std::size_t current_ = 0;
  using Texts = std::unordered_map<Key, std::optional<ShapedText>, KeyHash, KeyEqual>;
  // Texts drawn since the last drop, and those drawn only before it.
  Texts recent_;
  Texts older_;
};

}  // namespace lvx
