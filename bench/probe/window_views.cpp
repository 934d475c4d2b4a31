// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_views.h"

#include "trace_run.h"

namespace lvx::bench {

WindowViews::WindowViews(const std::string& docPath)
    : main_(kPageClientPixels, ViewScale::Millimetres(kScreenDpi)),
      upper_(kZoomClientPixels, ViewScale::Zoom()),
      lower_(kZoomClientPixels, ViewScale::Zoom()),
      reader_(SplitViews{main_.view(), upper_.view(), lower_.view()}, &pictures_) {
  reader_.SetDocument(docPath, FolderOf(docPath));
}

void WindowViews::RequestPage() {
  main_.view().Clear();
  upper_.view().Clear();
  lower_.view().Clear();
  reader_.ReadPage();
}

}  // namespace lvx::bench
