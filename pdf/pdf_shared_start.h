// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "pdf_file.h"

namespace lvx {

// The start that pages' content streams have in common, stored once: a
// form drawn first on every page (the frame and headings of an invoice),
// and after it what the pages of one document repeat (the customer's
// address), become content streams of their own that each page's list of
// content streams begins with; the page's own stream holds the rest. A
// start is looked for between a page and the one before it, so memory
// holds one page's content. Never throws.
class PdfSharedStart {
 public:
  explicit PdfSharedStart(PdfFile& file) : file_(file) {}

  struct Start {
    std::vector<int> objects;  // the streams holding the start, in order
    std::size_t length = 0;    // the bytes of the page's content they stand for
  };
  // The shared start of the page content `content`, its streams written
  // to the file when they are new.
  Start For(std::string_view content);

 private:
  struct Part {
    std::string bytes;
    int object = 0;
  };

  PdfFile& file_;
  std::string previous_;     // the content of the page before
  std::vector<Part> parts_;  // the current start, part by part
};

}  // namespace lvx
