// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "page_view.h"
#include "record_handlers.h"
#include "record_options.h"

namespace lvx {

// Page-level control of a sheet that is printed rather than shown.
class SheetControl {
 public:
  virtual ~SheetControl() = default;
  // 1 portrait, 2 landscape; takes effect where the device allows.
  virtual void SetOrientation(std::int16_t orientation) = 0;
  virtual void NewPage() = 0;
};

// Record handlers that draw each item once, at full scale, on one view: the
// way a page goes to paper. "/PAGE" prints a counter of the page-number
// texts met since the caller last reset PageCounter; pictures are loaded
// without a file check (an empty picture file is neither drawn nor deleted).
class SheetViewHandlers : public RecordHandlers {
 public:
  // `loader` may be null, and then no picture is drawn.
  SheetViewHandlers(RecordScanner& scanner, PageView& view, SheetControl& control,
                    PictureLoader* loader);

  void SetOrientation() override;
  void DrawBox() override;
  void DrawText() override;
  void SelectFont() override;
  void PlaceImage() override;

  void SetDocFolder(std::string docFolder) { docFolder_ = std::move(docFolder); }
  // Where picture names are looked up; may be null.
  void SetListings(FolderListings* listings) { listings_ = listings; }
  const Position& position() const { return position_; }

  std::int16_t PageCounter = 0;

 private:
  RecordScanner& scanner_;
  PageView& view_;
  SheetControl& control_;
  PictureLoader* loader_;
  std::string docFolder_;
  FolderListings* listings_ = nullptr;
  Position position_;
};

}  // namespace lvx
