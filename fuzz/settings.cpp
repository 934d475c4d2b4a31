// SPDX-License-Identifier: GPL-3.0-or-later
// Both settings files: the viewer's read byte by byte from a file, the
// printer's with the batch printer's and the picker's copies rules.
#include "settings.h"
#include "fuzz_support.h"
#include "printer_settings.h"

namespace {

class FixedPlatform : public lvx::PlatformInfo {
 public:
  lvx::PlatformIdentity Identity() const override { return {2, 5.01F, 2600, ","}; }
  std::vector<std::string> PrinterNames() const override { return {"Fax", "Bullzip PDF Printer"}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lvx::ViewerSettings viewer;
  viewer.ReadSettings(lvx::fuzz::WriteScratch("lvxview.ini", bytes), FixedPlatform());
  if (viewer.RollDir < 0) std::abort();
  const auto batch = lvx::ParsePrinterSettings(bytes, lvx::CopiesBound::kBatchPrinter, "Default");
  if (batch.copies < 1 || batch.copies > 99) std::abort();
  const auto picker = lvx::ParsePrinterSettings(bytes, lvx::CopiesBound::kPicker, "Default");
  if (picker.copies < 1 || picker.copies > 29) std::abort();
  return 0;
}
