// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "sheet_paper.h"
#include "sheet_view_handlers.h"

namespace lvx {

// The device a print job is drawn on, one page after the other.
class SheetDevice {
 public:
  virtual ~SheetDevice() = default;
  // Starts the job with its first page, or starts the next page, in
  // `orientation` (1 portrait, 2 landscape). False when the device failed.
  virtual bool OpenFirstPage(std::int16_t orientation) = 0;
  virtual bool OpenNextPage(std::int16_t orientation) = 0;
  // Ends a started job; true when every page went out.
  virtual bool Finish() = 0;
  // Where the document's (0, 0) lies on the open page, in millimetres from
  // the page's top-left corner: the corner of its printable area.
  virtual SheetPoint Origin() const { return {}; }
};

// The page control of a print run over a SheetDevice. A page reaches the
// device when something is drawn on it or when the run moves past it, so
// an orientation set at the top of a page (before anything is drawn on it)
// applies to that page; set later, it applies from the next page on. A
// page left by NewPage is printed even when blank, but a new page that is
// still blank when the job ends is not: ending the job right after a new
// page prints no extra sheet. Every job has at least one page. Once the
// device fails, nothing more is sent to it. Never throws.
class SheetPages : public SheetControl {
 public:
  explicit SheetPages(SheetDevice& device) : device_(device) {}

  void SetOrientation(std::int16_t orientation) override { orientation_ = orientation; }
  void NewPage() override;

  // Puts the current page on the device before something is drawn on it;
  // false once the device has failed.
  bool OpenPage();
  // Ends the job; false when the device failed at any point.
  bool Finish();

  bool failed() const { return failed_; }
  // See SheetDevice::Origin.
  SheetPoint origin() const { return device_.Origin(); }
  int pagesOpened() const { return pagesOpened_; }

 private:
  SheetDevice& device_;
  std::int16_t orientation_ = 1;
  int pagesOpened_ = 0;
  bool pageOpen_ = false;
  bool failed_ = false;
};

}  // namespace lvx
