// SPDX-License-Identifier: GPL-3.0-or-later
#include "split_view_handlers.h"

#include <cmath>

#include "check_file.h"
#include "convert.h"
#include "file_lookup.h"

namespace lvx {

SplitViewHandlers::SplitViewHandlers(RecordScanner& scanner, SplitViews views,
                                     const std::int16_t& pageNumber, PictureLoader* loader)
    : scanner_(scanner), views_(views), pageNumber_(pageNumber), loader_(loader) {}

void SplitViewHandlers::DrawBox() {
  const BoxRecord box = ScanBox(scanner_, position_);
  const auto colour = ToColour(box.ColourText);
  if (!colour) return;
  const Position& p = position_;
  views_.main.DrawRect(p.HalfX, p.HalfY, box.BoxWidth / 2 + p.HalfX, box.BoxHeight / 2 + p.HalfY,
                       *colour, box.BoxFill);
  if (p.PosY > HalfPageHeight) {
    const float lowerHalfY = p.PosY - HalfPageHeight;
    views_.lower.DrawRect(p.PosX, lowerHalfY, p.PosX + box.BoxWidth, lowerHalfY + box.BoxHeight,
                          *colour, box.BoxFill);
    return;
  }
  views_.upper.DrawRect(p.PosX, p.PosY, p.PosX + box.BoxWidth, p.PosY + box.BoxHeight, *colour,
                        box.BoxFill);
  // The sum is taken as a float on purpose: a box that starts at the split
  // and has any height also shows at the top of the lower view.
  const float bottom = p.PosY + box.BoxHeight;
  if (bottom > HalfPageHeight) {
    const float top = p.PosY - HalfPageHeight;
    views_.lower.DrawRect(p.PosX, top, p.PosX + box.BoxWidth, top + box.BoxHeight, *colour,
                          box.BoxFill);
  }
}

void SplitViewHandlers::PrintOn(PageView& view, float x, float y, const TextRecord& text) {
  view.MoveTo(x, y);
  if (text.PageNumberFlag) {
    view.PrintNumber(pageNumber_);
  } else {
    view.PrintText(text.TextValue);
  }
}

void SplitViewHandlers::DrawText() {
  const TextRecord text = ScanText(scanner_, position_);
  ApplyOffsets(text, position_);
  const Position& p = position_;
  PrintOn(views_.main, p.HalfX, p.HalfY, text);
  // Text goes to one zoom view only, chosen by the y of its top.
  if (p.PosY > HalfPageHeight) {
    PrintOn(views_.lower, p.PosX, p.PosY - HalfPageHeight, text);
  } else {
    PrintOn(views_.upper, p.PosX, p.PosY, text);
  }
}

void SplitViewHandlers::SelectFont() {
  const FontRecord font = ScanFont(scanner_);
  // The half size is the whole part, rounded down: 9 points give 4.
  ApplyFont(views_.main, font, std::floor(font.FontSizePt / 2.0F));
  ApplyFont(views_.upper, font, font.FontSizePt);
  ApplyFont(views_.lower, font, font.FontSizePt);
}

void SplitViewHandlers::PlaceImage() {
  const ImageRecord image = ScanImage(scanner_, position_, docFolder_);
  std::string path;
  if (CheckFile(image.ImagePath, path, listings_) != kCheckUsable || loader_ == nullptr) return;
  const auto picture = loader_->Load(path);
  if (!picture) return;
  const Position& p = position_;
  const auto w = static_cast<float>(picture->WidthHmm());
  const auto h = static_cast<float>(picture->HeightHmm());
  views_.main.DrawPicture(*picture, p.HalfX, p.HalfY, PageView::Size{w / 200, h / 200});
  if (p.PosY > HalfPageHeight) {
    views_.lower.DrawPicture(*picture, p.PosX, p.PosY - HalfPageHeight);
  } else {
    views_.upper.DrawPicture(*picture, p.PosX, p.PosY);
  }
}

}  // namespace lvx
