// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform.h"

namespace lvx {

// The viewer's settings file and what the platform offers, fixed for the
// life of the process. All values stay 0 or empty without a settings file.
class ViewerSettings {
 public:
  // Reads the settings file at `settingsPath` (found through CheckFile, so
  // an empty one is deleted and counts as absent) line by line from the
  // descriptor the check opened and, when it was found, detects the
  // platform. Lines end at LF; of a line longer than kKeptLineBytes only
  // that many bytes count, so memory stays bounded whatever the file holds.
  // Never throws.
  void ReadSettings(std::string_view settingsPath, const PlatformInfo& platform);

  // Takes "ROLLDIR=" from the settings line just collected: found anywhere
  // in the line in any letter case, the value runs to the end of the line
  // without its CR and LF characters. A line without the key changes nothing.
  void ReadSettingsLine();

  // Sets Platform, FaxEnabled and PdfEnabled from the platform's identity
  // and its installed printers.
  void DetectPlatform(const PlatformInfo& platform);

  std::int16_t IniFound = 0;
  std::string RollDirText;
  // Greater than 0 turns on browsing through the folder's documents.
  std::int16_t RollDir = 0;
  std::string Platform;
  std::int16_t FaxEnabled = 0;
  std::int16_t PdfEnabled = 0;

 private:
  // Adds bytes to the settings line; each LF ends the line and takes it.
  void TakeBytes(std::string_view bytes);
  void FinishLine();

  std::string settingsLine_;
  std::string settingsLineUp_;
};

// RollDir from its text: the lenient number rounded half to even, 0 when
// it is below 1 or no number. A value beyond 16 bits is taken at the
// nearest end of the 16-bit range (99999 turns browsing on, -99999 off),
// since the setting only asks whether it is above 0.
std::int16_t RollDirFromText(std::string_view rollDirText);

}  // namespace lvx
