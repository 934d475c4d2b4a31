// SPDX-License-Identifier: GPL-3.0-or-later
#include "record_handlers.h"

#include <algorithm>

#include "convert.h"
#include "file_lookup.h"
#include "line_reader.h"

namespace lvx {

void DispatchRecord(RecordScanner& scanner, RecordHandlers& handlers) {
  if (scanner.FindKey("*ORIENTATION") > 0) handlers.SetOrientation();
  if (scanner.FindKey("*BOX") > 0) handlers.DrawBox();
  if (scanner.FindKey("*TEXT") > 0) handlers.DrawText();
  if (scanner.FindKey("*FONT") > 0) handlers.SelectFont();
  if (scanner.FindKey("*IMAGE") > 0) handlers.PlaceImage();
}

void ApplyFont(PageView& view, const FontRecord& font, float points) {
  view.SetFontName(font.FontNameText);
  view.SetFontSize(points);
  if (const auto colour = ToColour(font.ColourText)) view.SetTextColour(*colour);
  view.SetItalic(font.ItalicFlag);
  view.SetBold(font.BoldFlag);
  view.SetUnderline(font.UnderlineFlag);
  view.SetTransparent(font.TransparentFlag);
}

void MergeFile(RecordScanner& scanner, RecordHandlers& handlers, std::string_view docFolder,
               PageBudget& budget, FolderListings* listings) {
  const auto name = scanner.CutValue("/N:");
  if (!name || budget.Spent()) return;
  // The name is always taken in the document's folder, even when it holds
  // a folder of its own; a doubled separator reads as one.
  const auto mergePath = FindFile(std::string(docFolder) + "/" + LocalSeparators(*name), listings);
  LineReader merged;
  if (!mergePath || !merged.Open(*mergePath)) return;
  std::string mergeLine;
  TailKeys tail;
  std::uint64_t offset = 0;
  while (!budget.Spent() && merged.ReadLine(mergeLine, &tail)) {
    const std::uint64_t read = merged.Offset() - offset;
    offset = merged.Offset();
    budget.bytes -= std::min(read, budget.bytes);
    budget.TakeRecord();
    scanner.SetRecord(mergeLine, merged.LastLineCut() ? &tail : nullptr);
    Skipping([&] { DispatchRecord(scanner, handlers); });
  }
}

}  // namespace lvx
