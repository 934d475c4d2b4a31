// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_reader.h"

#include <limits>

namespace lvx {

PageReader::PageReader(SplitViews views, PictureLoader* loader)
    : views_(views), handlers_(scanner_, views, PageNumber, loader), loader_(loader) {
  handlers_.SetListings(&listings_);
}

void PageReader::SetDocument(std::string docPath, std::string docFolder) {
  docPath_ = std::move(docPath);
  docFolder_ = std::move(docFolder);
  handlers_.SetDocFolder(docFolder_);
}

void PageReader::WrapToFirstPage() {
  WrappedToStart = true;
  channel_.Close();
  views_.main.Clear();
  views_.upper.Hide();
  views_.upper.Clear();
  views_.lower.Hide();
  views_.lower.Clear();
}

void PageReader::AbandonPage() {
  channel_.Close();
  PageBreakPending = 0;
  DocumentEnded = 0;
  views_.main.Clear();
  views_.upper.Clear();
  views_.lower.Clear();
}

bool PageReader::SameVersionOnDisk() const {
  return !version_ || IdentityOfPath(docPath_) == version_;
}

void PageReader::RestartAtNewVersion() {
  VersionChanged = true;
  channel_.Close();
  ResetPageState();
}

void PageReader::ReadPage() {
  // Rewrites that keep coming cannot hold a request up for long.
  constexpr int kMaxRestarts = 3;
  VersionChanged = false;
  // Each request has its own budget; a restart at a new version of the
  // document draws within the same.
  budget_.Renew();
  listings_.RenewAllowance();
  if (loader_ != nullptr) loader_->StartPage();
  if (channel_.IsOpen() && !SameVersionOnDisk()) RestartAtNewVersion();
  for (int restarts = 0;; ++restarts) {
    ReadPageOfOneVersion();
    // A document gone meanwhile leaves what was read: there is nothing newer.
    if (restarts == kMaxRestarts || SameVersionOnDisk() || !IdentityOfPath(docPath_)) return;
    views_.main.Clear();
    views_.upper.Clear();
    views_.lower.Clear();
    RestartAtNewVersion();
  }
}

void PageReader::ReadPageOfOneVersion() {
  enum class Next { kOpen, kEndTest, kRead } next = Next::kOpen;
  bool afterEnd = false;
  WrappedToStart = false;
  StartedFile = false;
  if (DocumentEnded == 1) {
    PageBreakPending = 0;
    PageNumber = 1;
    DocumentEnded = 0;
    afterEnd = true;
    next = Next::kRead;
  } else if (PageBreakPending == 1) {
    // The step that would overflow the 16-bit number is skipped.
    if (PageNumber < std::numeric_limits<std::int16_t>::max()) ++PageNumber;
    // The current record is still the "*PAGE" that ended the last page, so
    // its "/N:" file is drawn first on this one.
    Skipping([&] { MergeFile(scanner_, handlers_, docFolder_, budget_, &listings_); });
    PageBreakPending = 0;
    next = Next::kEndTest;
  }
  for (;;) {
    if (next == Next::kOpen) {
      PageNumber = 1;
      StartedFile = true;
      if (!channel_.Open(docPath_)) {
        version_.reset();
        return;
      }
      version_ = IdentityOfDescriptor(channel_.Descriptor());
      next = Next::kEndTest;
    }
    if (next == Next::kEndTest && channel_.AtEnd()) {
      // A failed read ends the page as a missing document does.
      if (channel_.Failed()) {
        AbandonPage();
      } else {
        channel_.Close();
      }
      return;
    }
    next = Next::kEndTest;
    // At the end of the file a failed read keeps the previous DocLine.
    if (channel_.ReadLine(DocLine, &docLineTail_)) docLineCut_ = channel_.LastLineCut();
    if (afterEnd && !channel_.AtEnd()) afterEnd = false;
    if (channel_.Failed()) {
      AbandonPage();
      return;
    }
    if (afterEnd) {
      // The document that ended at "#EOD" was the file's last one (at most
      // one line follows): start over at the first page in this request.
      afterEnd = false;
      WrapToFirstPage();
      next = Next::kOpen;
      continue;
    }
    if (!InterpretLine()) return;
  }
}

bool PageReader::InterpretLine() {
  scanner_.SetRecord(DocLine, docLineCut_ ? &docLineTail_ : nullptr);
  if (budget_.TakeRecord()) Skipping([&] { DispatchRecord(scanner_, handlers_); });
  // A line with "#EOD" ends the document only when it holds no "*".
  const bool endMark =
      Skipping([&] { return scanner_.FindKey("#EOD") > 0 && scanner_.FindKey("*") == 0; });
  if (endMark) {
    DocumentEnded = 1;
    return false;
  }
  if (Skipping([&] { return scanner_.FindKey("*MERGE") > 0; })) {
    Skipping([&] { MergeFile(scanner_, handlers_, docFolder_, budget_, &listings_); });
  }
  // After a merge the current record is the merged file's last line, so a
  // merged file that ends in "*PAGE" ends the page.
  if (Skipping([&] { return scanner_.FindKey("*PAGE") > 0; })) {
    PageBreakPending = 1;
    return false;
  }
  return true;
}

}  // namespace lvx
