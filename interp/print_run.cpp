// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_run.h"

namespace lvx {

PrintRun::PrintRun(PageView& view, SheetControl& control, PictureLoader* loader)
    : control_(control), handlers_(scanner_, view, control, loader), loader_(loader) {
  handlers_.SetListings(&listings_);
}

std::int64_t PrintRun::CountLines() {
  std::int64_t total = 0;
  while (file_.ReadLine(line_)) ++total;
  return total;
}

void PrintRun::TakeLine() {
  scanner_.SetRecord(line_, file_.LastLineCut() ? &tail_ : nullptr);
}

bool PrintRun::IsEndMark() {
  TakeLine();
  return Skipping([&] { return scanner_.FindKey("#EOD") > 0 && scanner_.FindKey("*") == 0; });
}

// Reads from the range's start until its end mark; a document without one
// runs to the end of the file. The end-mark line belongs to no document.
bool PrintRun::FindDocumentEnd(Range& range) {
  if (!file_.Seek(range.offset)) return false;
  for (std::int64_t number = range.start;; ++number) {
    if (!file_.ReadLine(line_, &tail_)) {
      range.end = number - 1;
      return !file_.Failed();
    }
    if (IsEndMark()) {
      range.end = number - 1;
      range.nextOffset = file_.Offset();
      return true;
    }
  }
}

void PrintRun::InterpretLine() {
  TakeLine();
  if (budget_.TakeRecord()) Skipping([&] { DispatchRecord(scanner_, handlers_); });
  if (Skipping([&] { return scanner_.FindKey("*MERGE") > 0; })) {
    Skipping([&] { MergeFile(scanner_, handlers_, docFolder_, budget_, &listings_); });
  }
  // As on screen, the test looks at the current record after any merge.
  if (Skipping([&] { return scanner_.FindKey("*PAGE") > 0; })) {
    NewPage();
    Skipping([&] { MergeFile(scanner_, handlers_, docFolder_, budget_, &listings_); });
  }
}

bool PrintRun::PrintCopy(const Range& range) {
  if (!file_.Seek(range.offset)) return false;
  for (std::int64_t number = range.start; number <= range.end; ++number) {
    // A line cut short by a failed read is not printed.
    if (!file_.ReadLine(line_, &tail_) || file_.Failed()) return false;
    InterpretLine();
  }
  return true;
}

void PrintRun::NewPage() {
  control_.NewPage();
  StartPage();
}

void PrintRun::StartPage() {
  budget_.Renew();
  listings_.RenewAllowance();
  if (loader_ != nullptr) loader_->StartPage();
}

bool PrintRun::Run(const std::string& docPath, const std::string& docFolder, int copies) {
  docFolder_ = docFolder;
  StartPage();
  handlers_.SetDocFolder(docFolder);
  readFailed_ = false;
  if (!file_.Open(docPath)) return false;
  const bool whole = PrintAll(copies);
  readFailed_ = file_.Failed();
  file_.Close();
  return whole && !readFailed_;
}

bool PrintRun::PrintAll(int copies) {
  const std::int64_t total = CountLines();
  if (file_.Failed()) return false;
  Range range{0, 1, 0, 0};
  for (;;) {
    if (!FindDocumentEnd(range)) return false;
    for (int copy = 1; copy <= copies; ++copy) {
      handlers_.PageCounter = 0;
      if (copy > 1) NewPage();
      if (!PrintCopy(range)) return false;
    }
    // Skip the end mark; the next document needs at least two more lines.
    const std::int64_t next = range.end + 2;
    if (next >= total) break;
    range = Range{range.nextOffset, next, 0, 0};
    NewPage();
  }
  return true;
}

}  // namespace lvx
