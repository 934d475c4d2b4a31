// SPDX-License-Identifier: GPL-3.0-or-later
#include "shaped_text.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QRawFont>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <functional>

#include "cp1252.h"

namespace lvx {
namespace {

// Line and paragraph breaks lay a text out on more than one line, where
// drawText keeps one; the tab is laid out alike by both.
bool Keepable(std::string_view text) {
  return text.size() <= ShapedTexts::kMaxLength &&
         std::none_of(text.begin(), text.end(), [](char c) {
           const auto byte = static_cast<unsigned char>(c);
           return byte < 0x20 && c != '\t';
         });
}

std::optional<ShapedText> Shape(const QFont& font, const QPaintDevice& device,
                                Qt::LayoutDirection direction, std::string_view text) {
  const QString unicode = QString::fromStdString(Utf8From1252(text));
  QTextLayout layout(unicode, font, &device);
  QTextOption option;
  option.setTextDirection(direction);
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid() || layout.lineCount() != 1) return std::nullopt;

  ShapedText shaped;
  // As QFontMetricsF::horizontalAdvance gives it, trailing blanks included.
  shaped.advance = line.horizontalAdvance();
  // The line places its glyphs below its top; drawText places them on the
  // baseline through the point it is given.
  const double baseline = line.ascent();
  for (QGlyphRun run : line.glyphRuns()) {
    QList<QPointF> positions = run.positions();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QRawFont rawFont = run.rawFont();
    for (qsizetype i = 0; i < positions.size(); ++i) {
      positions[i].ry() -= baseline;
      // The run's own bounding rectangle is the line's cell; the glyphs'
      // ink may reach out of it.
      if (i < glyphs.size()) shaped.ink |= rawFont.boundingRect(glyphs[i]).translated(positions[i]);
    }
    run.setPositions(positions);
    shaped.runs.push_back(std::move(run));
  }
  return shaped;
}

}  // namespace

std::size_t ShapedTexts::KeyHash::operator()(const KeyView& key) const {
  return std::hash<std::string_view>()(key.text) ^ (key.font * 0x9E3779B97F4A7C15ULL);
}

std::size_t ShapedTexts::FontIndex(const QFont& font, const QPaintDevice& device,
                                   Qt::LayoutDirection direction) {
  // Texts come in runs of one font: the last one asked for is tried first.
  const auto same = [&](const Font& known) {
    return known.direction == direction && known.font == font;
  };
  if (current_ < fonts_.size() && same(fonts_[current_])) return current_;
  const auto known = std::find_if(fonts_.begin(), fonts_.end(), same);
  if (known != fonts_.end()) {
    current_ = static_cast<std::size_t>(known - fonts_.begin());
    return current_;
  }
  if (fonts_.size() >= kMaxFonts) {
    // Texts are kept by the index of their font.
    fonts_.clear();
    recent_.clear();
    older_.clear();
  }
  const QFontMetricsF metrics(font, &device);
  fonts_.push_back(Font{font, direction, FontFacts{metrics.ascent(), metrics.descent()}});
  current_ = fonts_.size() - 1;
  return current_;
}

const FontFacts& ShapedTexts::Facts(const QFont& font, const QPaintDevice& device,
                                    Qt::LayoutDirection direction) {
  return fonts_[FontIndex(font, device, direction)].facts;
}

const ShapedText* ShapedTexts::Find(const QFont& font, const QPaintDevice& device,
                                    Qt::LayoutDirection direction, std::string_view text) {
  if (!Keepable(text)) return nullptr;
  const std::size_t index = FontIndex(font, device, direction);
  const KeyView key{index, text};
  auto found = recent_.find(key);
  if (found == recent_.end()) {
    if (recent_.size() >= kMaxTexts / 2) {
      older_ = std::move(recent_);
      recent_.clear();
    }
    const auto older = older_.find(key);
    if (older != older_.end()) {
      // Moved, not copied: what was laid out stays where it is.
      found = recent_.insert(older_.extract(older)).position;
    } else {
      found = recent_.emplace(Key{index, std::string(text)}, Shape(font, device, direction, text))
                  .first;
    }
  }
  return found->second ? &*found->second : nullptr;
}

}  // namespace lvx
