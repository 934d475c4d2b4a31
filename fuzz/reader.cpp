// SPDX-License-Identifier: GPL-3.0-or-later
// A whole document read page by page as the viewer does; the same bytes
// also stand as "m.lvx" beside it, so its merges read something.
#include "fuzz_support.h"
#include "page_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string doc = lvx::fuzz::WriteScratch("doc.lvx", bytes);
  lvx::fuzz::WriteScratch("m.lvx", bytes);
  lvx::fuzz::CheckingView main, upper, lower;
  lvx::PageReader reader(lvx::SplitViews{main, upper, lower}, nullptr);
  reader.SetDocument(doc, lvx::fuzz::ScratchFolder() + "/");
  for (int request = 0; request < 64; ++request) {
    reader.ReadPage();
    if (!reader.IsOpen() && request > 0) break;
  }
  return 0;
}
