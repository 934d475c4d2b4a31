// SPDX-License-Identifier: GPL-3.0-or-later
// One record: every key search, cut and conversion the handlers make.
#include <string_view>

#include "convert.h"
#include "fuzz_support.h"
#include "scan_error.h"
#include "scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  lvx::RecordScanner scanner;
  scanner.SetRecord(line);
  for (const char* key : {"/X:", "/Y:", "/W:", "/H:", "/C:", "/S:", "/N:", "/T:"}) {
    try {
      const auto value = scanner.CutValue(key);
      if (!value) continue;
      (void)lvx::ToColour(*value);
      (void)lvx::ToPoints(lvx::ToNumber(*value));
    } catch (const lvx::ScanError&) {
    }
    try {
      (void)scanner.CutRest(key);
    } catch (const lvx::ScanError&) {
    }
  }
  (void)lvx::ToColour(line);
  try {
    (void)lvx::ToNumber(line);
  } catch (const lvx::ScanError&) {
  }
  return 0;
}
