// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// How the system identifies itself: a platform number (0, 1 or 2), the
// version as major + minor / 100, a build number (read, not used) and the
// decimal separator the user's locale writes numbers with.
struct PlatformIdentity {
  std::int16_t Number = 0;
  float Version = 0.0F;
  std::int32_t Build = 0;
  std::string DecimalSeparator = ".";
};

// What the viewer asks of the system it runs on. The program uses the Qt
// one (platform_qt.h); tests give their own.
class PlatformInfo {
 public:
  virtual ~PlatformInfo() = default;
  virtual PlatformIdentity Identity() const = 0;
  // Device names of the installed printers; empty when there are none.
  virtual std::vector<std::string> PrinterNames() const = 0;
};

// The version the way it is written for the user: up to seven significant
// digits, no trailing zeros, `decimalSeparator` for the point (5.01 with a
// comma gives "5,01").
std::string VersionText(float version, std::string_view decimalSeparator);

// The platform label from the table of tests, the last test that holds
// deciding: "NONE", "W95/98", "NT", "W98", "VISTA", "WIN7", "XP", "W2K", or
// empty. Version texts are compared with a comma as decimal separator, so
// "5.01" is no XP.
std::string PlatformLabel(int platformNumber, std::string_view versionText);

struct PlatformResult {
  std::string Platform;
  std::int16_t FaxEnabled = 0;
  std::int16_t PdfEnabled = 0;
};

// The label, and the two printer flags it allows when a printer of the
// right name is installed: the fax printer "Fax" on "XP", the PDF printer
// "Bullzip PDF Printer" on "W2K", "XP", "VISTA" and "WIN7". Names match
// whole, ignoring letter case.
PlatformResult DetectPlatformFrom(int platformNumber, std::string_view versionText,
                                  const std::vector<std::string>& printerNames);

}  // namespace lvx
