// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_document.h"

#include "window_geometry.h"

namespace lvx {

ViewerDocument::ViewerDocument(ViewerSession& session, qreal devicePixelRatio)
    : session_(session),
      main_(kPageClientSize, ViewScale::Millimetres(kScreenDpi), devicePixelRatio),
      upper_(kZoomClientSize, ViewScale::Zoom(), devicePixelRatio),
      lower_(kZoomClientSize, ViewScale::Zoom(), devicePixelRatio),
      reader_(SplitViews{main_.view(), upper_.view(), lower_.view()}, &pictures_) {
  // The reader hides both zoom windows when it goes from the file's last
  // document back to its first page.
  upper_.view().SetHideHook([this] {
    if (!followingChange_) HideZoom(ZoomHalf::kUpper);
  });
  lower_.view().SetHideHook([this] {
    if (!followingChange_) HideZoom(ZoomHalf::kLower);
  });
  session_.SetUpReader(reader_);
}

const QImage& ViewerDocument::ZoomDrawing(ZoomHalf half) const {
  return half == ZoomHalf::kUpper ? upper_.image() : lower_.image();
}

void ViewerDocument::ReadFirstPage() {
  reader_.PageBreakPending = 0;
  ReadPage();
}

void ViewerDocument::NextPage() {
  if (!DocumentPresent()) return;
  ClearAll();
  ReadPage();
}

void ViewerDocument::StepDocument(int direction) {
  reader_.CloseFiles();
  session_.StepDocument(direction);
  ShowNewDocument();
}

void ViewerDocument::ShowNewDocument() {
  main_.view().Clear();
  HideZoom(ZoomHalf::kUpper);
  HideZoom(ZoomHalf::kLower);
  upper_.view().Clear();
  lower_.view().Clear();
  reader_.ResetPageState();
  session_.SetUpReader(reader_);
  ReadPage();
  emit DocumentChanged();
}

void ViewerDocument::ClearAll() {
  main_.view().Clear();
  upper_.view().Clear();
  lower_.view().Clear();
}

void ViewerDocument::ReadPage() {
  reader_.ReadPage();
  pageOrdinal_ = reader_.StartedFile ? 1 : pageOrdinal_ + 1;
  if (reader_.VersionChanged) {
    session_.ReadHeaderRecords();
    emit DocumentChanged();
  }
  emit PageDrawn();
}

void ViewerDocument::PreviousPage() {
  if (reader_.PageNumber <= 1 || !DocumentPresent()) return;
  ShowPageOfFile(pageOrdinal_ - 1);
}

void ViewerDocument::Page(PagingMove move) {
  switch (move) {
    case PagingMove::kNext:
      NextPage();
      break;
    case PagingMove::kPrevious:
      PreviousPage();
      break;
    case PagingMove::kFirst:
      FirstPageOfDocument();
      break;
  }
}

void ViewerDocument::FirstPageOfDocument() {
  if (reader_.PageNumber <= 1 || !DocumentPresent()) return;
  ShowPageOfFile(pageOrdinal_ - (reader_.PageNumber - 1));
}

void ViewerDocument::ShowPageOfFile(int ordinal) {
  if (ordinal < 1) return;
  reader_.CloseFiles();
  reader_.ResetPageState();
  bool versionChanged = false;
  for (int page = 1; page <= ordinal; ++page) {
    ClearAll();
    reader_.ReadPage();
    versionChanged = versionChanged || reader_.VersionChanged;
    pageOrdinal_ = reader_.StartedFile ? 1 : pageOrdinal_ + 1;
    // Back at page 1: the file changed meanwhile and has fewer pages.
    if (page > 1 && pageOrdinal_ == 1) break;
  }
  if (versionChanged) {
    session_.ReadHeaderRecords();
    emit DocumentChanged();
  }
  emit PageDrawn();
}

}  // namespace lvx
