// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_pages.h"

namespace lvx {

bool SheetPages::OpenPage() {
  if (failed_) return false;
  if (pageOpen_) return true;
  const bool opened =
      pagesOpened_ == 0 ? device_.OpenFirstPage(orientation_) : device_.OpenNextPage(orientation_);
  if (!opened) {
    failed_ = true;
    return false;
  }
  ++pagesOpened_;
  pageOpen_ = true;
  return true;
}

void SheetPages::NewPage() {
  // The page being left is printed even when nothing was drawn on it.
  OpenPage();
  pageOpen_ = false;
}

bool SheetPages::Finish() {
  if (pagesOpened_ == 0) OpenPage();
  if (failed_) {
    // A device that never started has no job to end.
    if (pagesOpened_ > 0) device_.Finish();
    return false;
  }
  if (!device_.Finish()) failed_ = true;
  return !failed_;
}

}  // namespace lvx
