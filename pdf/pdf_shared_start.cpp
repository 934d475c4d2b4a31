// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_shared_start.h"

#include <algorithm>

#include "pdf_syntax.h"

namespace lvx {
namespace {

// Shorter parts are not worth a stream of their own and a longer list of
// content streams on every page.
constexpr std::size_t kMinPart = 256;
// A form, a document's heading, and a little more.
constexpr std::size_t kMaxParts = 4;

}  // namespace

PdfSharedStart::Start PdfSharedStart::For(std::string_view content) {
  Start start;
  std::size_t kept = 0;
  for (; kept < parts_.size(); ++kept) {
    const std::string& bytes = parts_[kept].bytes;
    if (content.substr(start.length, bytes.size()) != bytes) break;
    start.objects.push_back(parts_[kept].object);
    start.length += bytes.size();
  }
  // A part that no longer fits ends the start there; what this page has in
  // common with the one before beyond it becomes the next part.
  parts_.resize(kept);
  if (parts_.size() < kMaxParts) {
    const auto common =
        std::mismatch(content.begin(), content.end(), previous_.begin(), previous_.end());
    const std::size_t cut =
        LastLineEnd(content.substr(0, static_cast<std::size_t>(common.first - content.begin())));
    if (cut >= start.length + kMinPart) {
      Part part{std::string(content.substr(start.length, cut - start.length)), file_.Reserve()};
      file_.WriteStream(part.object, "", part.bytes);
      start.objects.push_back(part.object);
      start.length = cut;
      parts_.push_back(std::move(part));
    }
  }
  previous_.assign(content);
  return start;
}

}  // namespace lvx
