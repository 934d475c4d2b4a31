// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

#include "file_lookup.h"
#include "page_view.h"
#include "record_options.h"
#include "scan_error.h"
#include "scanner.h"

namespace lvx {

// The handlers of the drawing records. Each reads the scanner's current
// record; a ScanError ends the handler and passes to the caller.
class RecordHandlers {
 public:
  virtual ~RecordHandlers() = default;
  virtual void SetOrientation() = 0;
  virtual void DrawBox() = 0;
  virtual void DrawText() = 0;
  virtual void SelectFont() = 0;
  virtual void PlaceImage() = 0;
};

// Runs the handler of every drawing keyword in the current record, in the
// fixed order "*ORIENTATION", "*BOX", "*TEXT", "*FONT", "*IMAGE" (so a line
// with "*FONT" and "*TEXT" prints before the font changes). A ScanError
// ends the dispatch and passes to the caller.
void DispatchRecord(RecordScanner& scanner, RecordHandlers& handlers);

// What one page may cost: a document of nothing but merges of a large file,
// or of millions of drawing records, would otherwise take minutes per page.
// Both limits lie far beyond any page form; when either runs out, the rest
// of the page draws nothing (its page and document ends still count).
struct PageBudget {
  static constexpr std::uint64_t kBytesPerPage = std::uint64_t{64} << 20;
  static constexpr std::uint32_t kRecordsPerPage = 100000;
  std::uint64_t bytes = kBytesPerPage;      // merged text
  std::uint32_t records = kRecordsPerPage;  // lines drawn, the document's and merged ones
  void Renew() {
    bytes = kBytesPerPage;
    records = kRecordsPerPage;
  }
  bool Spent() const { return bytes == 0 || records == 0; }
  // Takes one record; false when none is left.
  bool TakeRecord() {
    if (records == 0) return false;
    --records;
    return true;
  }
};

// Draws the records of the file named by "/N:" of the current record, taken
// in `docFolder` whatever the name holds (looked up through `listings` when
// given). Merges do not nest: "*MERGE", "*PAGE" and "#EOD" in the merged
// file do nothing. Each line's ScanError is caught and the next line goes
// on; afterwards the current record is the merged file's last line
// (unchanged when nothing was read). Reading stops where `budget` runs out.
// A ScanError while cutting "/N:" passes to the caller.
void MergeFile(RecordScanner& scanner, RecordHandlers& handlers, std::string_view docFolder,
               PageBudget& budget, FolderListings* listings = nullptr);

// Sets the font of a "*FONT" record on one view at `points`: name, size,
// colour (skipped when it does not convert), italic, bold, underline and
// transparency, in this order; each call may fail on its own.
void ApplyFont(PageView& view, const FontRecord& font, float points);

// Runs `step`, skipping it when it fails with a ScanError: the way the
// reading loops go on after a failing step. Returns the step's result, or a
// value-initialised one when it failed.
template <class Step>
auto Skipping(Step&& step) -> decltype(step()) {
  try {
    return step();
  } catch (const ScanError&) {
    if constexpr (!std::is_void_v<decltype(step())>) return {};
  }
}

}  // namespace lvx
