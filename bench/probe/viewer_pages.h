// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "viewer_document.h"
#include "viewer_session.h"

namespace lvx::bench {

// The viewer's own document of its windows on `docPath`, as the page window
// drives it: the three drawings the windows hold (the page window's client
// area in millimetres at 96 dpi, the zoom windows' stretched halves), the
// reader and the picture cache; no window is made. A screen of device
// pixel ratio `ratio` gets drawings with that many more pixels.
class ViewerPages {
 public:
  explicit ViewerPages(const std::string& docPath, double ratio = 1.0);

  // The start-up's header pre-read.
  void ReadHeaderRecords() { session_.ReadHeaderRecords(); }
  // The first page, as at start-up.
  void ReadFirstPage() { document_->ReadFirstPage(); }
  // "&Pagina avanti": the three drawings cleared and the next page drawn.
  void NextPage() { document_->NextPage(); }
  const ViewerDocument& document() const { return *document_; }

 private:
  ViewerSession session_;
  std::unique_ptr<ViewerDocument> document_;
};

}  // namespace lvx::bench
