// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet_view_handlers.h"

#include <limits>

#include "convert.h"
#include "file_lookup.h"
#include "scan_error.h"

namespace lvx {

SheetViewHandlers::SheetViewHandlers(RecordScanner& scanner, PageView& view, SheetControl& control,
                                     PictureLoader* loader)
    : scanner_(scanner), view_(view), control_(control), loader_(loader) {}

void SheetViewHandlers::SetOrientation() {
  // Acts at once; no page is started for it.
  control_.SetOrientation(ScanOrientation(scanner_));
}

void SheetViewHandlers::DrawBox() {
  const BoxRecord box = ScanBox(scanner_, position_);
  const auto colour = ToColour(box.ColourText);
  if (!colour) return;
  const Position& p = position_;
  view_.DrawRect(p.PosX, p.PosY, p.PosX + box.BoxWidth, p.PosY + box.BoxHeight, *colour,
                 box.BoxFill);
}

void SheetViewHandlers::DrawText() {
  const TextRecord text = ScanText(scanner_, position_);
  ApplyOffsets(text, position_);
  view_.MoveTo(position_.PosX, position_.PosY);
  if (!text.PageNumberFlag) {
    view_.PrintText(text.TextValue);
    return;
  }
  // A count of the "/PAGE" texts of this copy, not the page's number.
  if (PageCounter == std::numeric_limits<std::int16_t>::max()) {
    throw ScanError("page counter overflows");
  }
  ++PageCounter;
  view_.PrintNumber(PageCounter);
}

void SheetViewHandlers::SelectFont() {
  const FontRecord font = ScanFont(scanner_);
  ApplyFont(view_, font, font.FontSizePt);
}

void SheetViewHandlers::PlaceImage() {
  const ImageRecord image = ScanImage(scanner_, position_, docFolder_);
  view_.MoveTo(position_.PosX, position_.PosY);
  if (loader_ == nullptr) return;
  const auto path = FindFile(image.ImagePath, listings_);
  // A picture that cannot be loaded draws nothing, rather than the picture
  // of an earlier record at this new place.
  const auto picture = path ? loader_->Load(*path) : nullptr;
  if (picture) view_.DrawPicture(*picture, position_.PosX, position_.PosY);
}

}  // namespace lvx
