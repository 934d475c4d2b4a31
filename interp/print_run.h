// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "line_reader.h"
#include "scanner.h"
#include "sheet_view_handlers.h"

namespace lvx {

// Prints every document of a file, each in all its copies, onto one sheet
// view: documents end at a line with "#EOD" and no "*"; copies come out
// collated (1, 2, 3, 1, 2, 3); a new page starts at each "*PAGE" (with the
// merge of its "/N:" file at the top), between copies and between
// documents. A single line after the last end mark is not printed.
//
// The file stays open and is read once to count its lines, then once per
// document to find its end and once per copy, so the time is linear in the
// file's size and the memory does not depend on it.
class PrintRun {
 public:
  PrintRun(PageView& view, SheetControl& control, PictureLoader* loader);

  // Prints `docPath` in `copies` copies (1..99, the caller's rule), taking
  // merged files and pictures from `docFolder`. False when the file cannot
  // be opened, a read of it fails, or it ends earlier than when it was
  // counted (it changed during the run): the caller must then discard the
  // job. Never throws.
  bool Run(const std::string& docPath, const std::string& docFolder, int copies);

  SheetViewHandlers& handlers() { return handlers_; }
  // Whether the last Run failed because a read of the document failed.
  bool ReadFailed() const { return readFailed_; }

 private:
  struct Range {
    std::uint64_t offset = 0;  // byte offset of line `start`
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::uint64_t nextOffset = 0;  // byte offset of the line after the end mark
  };

  bool PrintAll(int copies);
  std::int64_t CountLines();
  bool FindDocumentEnd(Range& range);
  bool PrintCopy(const Range& range);
  void InterpretLine();
  // Starts a new sheet; each page has its own budget.
  void NewPage();
  // Renews what a page may cost.
  void StartPage();
  // Makes the line just read the current record.
  void TakeLine();
  bool IsEndMark();

  RecordScanner scanner_;
  SheetControl& control_;
  SheetViewHandlers handlers_;
  LineReader file_;
  PictureLoader* loader_;
  PageBudget budget_;
  FolderListings listings_;
  std::string docFolder_;
  std::string line_;
  TailKeys tail_;
  bool readFailed_ = false;
};

}  // namespace lvx
