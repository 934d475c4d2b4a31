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
  upper_.view().SetHideHook([this] { HideZoom(ZoomHalf::kUpper); });
  lower_.view().SetHideHook([this] { HideZoom(ZoomHalf::kLower); });
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
  ClearAll();
  ReadPage();
}

void ViewerDocument::StepDocument(int direction) {
  reader_.CloseFiles();
  session_.StepDocument(direction);
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
  const bool fromStart =
      !reader_.IsOpen() && reader_.PageBreakPending == 0 && reader_.DocumentEnded == 0;
  reader_.ReadPage();
  pagesFromStart_ = fromStart || reader_.WrappedToStart ? 0 : pagesFromStart_ + 1;
  emit PageDrawn();
}

void ViewerDocument::PreviousPage() {
  if (reader_.PageNumber <= 1) return;
  ShowPageFromStart(pagesFromStart_ - 1);
}

void ViewerDocument::FirstPageOfDocument() {
  if (reader_.PageNumber <= 1) return;
  ShowPageFromStart(pagesFromStart_ - (reader_.PageNumber - 1));
}

void ViewerDocument::ShowPageFromStart(int index) {
  if (index < 0) return;
  reader_.CloseFiles();
  reader_.ResetPageState();
  for (int page = 0; page <= index; ++page) {
    ClearAll();
    reader_.ReadPage();
  }
  pagesFromStart_ = index;
  emit PageDrawn();
}

}  // namespace lvx
