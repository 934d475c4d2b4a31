// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "page_view.h"
#include "record_handlers.h"
#include "record_options.h"

namespace lvx {

// The three views a page is drawn on for the screen: the main view at half
// scale gets every item; the upper and lower views at full scale get the
// items above and below HalfPageHeight (lower view y shifted up by it).
struct SplitViews {
  PageView& main;
  PageView& upper;
  PageView& lower;
};

// Record handlers that draw on SplitViews. "*ORIENTATION" does nothing here.
class SplitViewHandlers : public RecordHandlers {
 public:
  // `pageNumber` is the reader's page counter that "/PAGE" prints; `loader`
  // may be null, and then no picture is drawn.
  SplitViewHandlers(RecordScanner& scanner, SplitViews views, const std::int16_t& pageNumber,
                    PictureLoader* loader);

  void SetOrientation() override {}
  void DrawBox() override;
  void DrawText() override;
  void SelectFont() override;
  void PlaceImage() override;

  void SetDocFolder(std::string docFolder) { docFolder_ = std::move(docFolder); }
  // Where picture names are looked up; may be null.
  void SetListings(FolderListings* listings) { listings_ = listings; }
  const Position& position() const { return position_; }

  float HalfPageHeight = 140.0F;

 private:
  void PrintOn(PageView& view, float x, float y, const TextRecord& text);

  RecordScanner& scanner_;
  SplitViews views_;
  const std::int16_t& pageNumber_;
  PictureLoader* loader_;
  std::string docFolder_;
  FolderListings* listings_ = nullptr;
  Position position_;
};

}  // namespace lvx
