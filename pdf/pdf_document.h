// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPaintDevice>
#include <QSizeF>
#include <QString>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pdf_content.h"
#include "pdf_file.h"
#include "pdf_fonts.h"
#include "pdf_images.h"
#include "pdf_shared_start.h"

namespace lvx {

class PdfPaintEngine;

// A PDF file as a paint device: pages of a fixed size in points, drawn on
// with a QPainter at kResolution dots per inch, each written to the file
// as soon as the next one starts. Text keeps its fonts (embedded as
// subsets), pictures drawn again are stored once, as is the start that
// pages draw alike (a form on every page), and what goes into the file is
// only what each page draws, so the file and the memory grow with the
// pages drawn and nothing else. Never throws.
class PdfDocument : public QPaintDevice {
 public:
  static constexpr int kResolution = 1200;

  // Writes to the empty file open at `fd` (which stays the caller's);
  // `title` goes into its document information.
  PdfDocument(int fd, const QString& title);
  ~PdfDocument() override;

  // Starts the next page (the first one before a painter begins): `size` in
  // points, portrait or landscape as given.
  void StartPage(QSizeF size);
  // Ends the last page and the file; true when every byte was written.
  bool Finish();
  bool ok() const { return file_.ok(); }
  int pageCount() const { return static_cast<int>(pages_.size()); }

  QPaintEngine* paintEngine() const override;

  // For the engine: the page being drawn and what the file holds.
  PdfContent& content() { return content_; }
  PdfFonts& fonts() { return fonts_; }
  PdfImages& images() { return images_; }
  QSizeF pageSize() const { return pageSize_; }
  // The name of the graphics state resource with these opacities (0..255).
  std::string OpacityState(int fill, int stroke);
  // Counts up with each page, so that the engine notices a new page.
  int pageSerial() const { return static_cast<int>(pages_.size()); }

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  void EndPage();
  // The page's media box, "[0 0 width height]".
  static std::string MediaBox(QSizeF size);
  // Writes a content stream of `data`; its object number.
  int WriteContent(std::string_view data);
  std::string OpacityResources() const;

  PdfFile file_;
  QString title_;
  PdfContent content_;
  PdfFonts fonts_;
  PdfImages images_;
  PdfSharedStart sharedStart_;
  std::unique_ptr<PdfPaintEngine> engine_;
  int pagesObject_ = 0;
  int resourcesObject_ = 0;
  std::vector<int> pages_;  // page object numbers
  // The media box of the first page, which the pages inherit unless their
  // own differs.
  std::string mediaBox_;
  std::set<std::pair<int, int>> opacities_;
  QSizeF pageSize_{595.2756, 841.8898};
  bool pageOpen_ = false;
  bool finished_ = false;
};

}  // namespace lvx
