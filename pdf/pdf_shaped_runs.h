// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lvx {

// A text shaped in one face, ready for a page at any size: the glyph
// strings to show, code page by code page (the operands of TJ, with the
// position corrections kerning needs), and how far the text moves the pen.
struct ShapedRun {
  struct Part {
    int page = 0;       // the face's code page, whose font resource shows it
    std::string shown;  // a TJ array: "[(...)-12(...)]"
  };
  std::vector<Part> parts;
  std::int64_t advance = 0;  // in the face's design units
  bool complete = true;      // false when a character has no glyph in the face
};

// The runs a face has shaped, by text, so that the texts a document draws
// again and again (the labels of every invoice) are shaped once. Memory is
// bounded: the runs used least recently are dropped, a generation at a
// time, so a run of any length keeps the same footprint. Never throws but
// for allocation.
class ShapedRuns {
 public:
  // The run of `text`, or null; valid until the next Find or Keep.
  const ShapedRun* Find(const QString& text);
  // Keeps `run` for `text` and returns it; valid until the next Find or
  // Keep. Texts too long to be worth keeping get a scratch place instead.
  const ShapedRun& Keep(const QString& text, ShapedRun run);

  std::size_t size() const { return static_cast<std::size_t>(recent_.size() + older_.size()); }

  // Each generation holds runs of at most this many characters in all.
  static constexpr std::size_t kCharactersPerGeneration = 8192;
  // Longer texts are not kept (a line of a 32,767-character record).
  static constexpr qsizetype kLongestKept = 512;

 private:
  using Runs = QHash<QString, ShapedRun>;

  // Starts a new generation when the recent one has no room left for a
  // text of `characters`, and counts them in.
  void MakeRoom(qsizetype characters);

  Runs recent_;
  Runs older_;
  std::size_t recentCharacters_ = 0;
  ShapedRun scratch_;
};

}  // namespace lvx
