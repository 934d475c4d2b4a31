// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <cstdio>
#include <limits>
#include <memory>

#include "check_file.h"
#include "convert.h"
#include "cp1252.h"
#include "file_lookup.h"
#include "scan_error.h"

namespace lvx {
namespace {

constexpr std::string_view kRollDirKey = "ROLLDIR=";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

double ClampedNumber(std::string_view text) {
  try {
    return ToNumber(text);
  } catch (const ScanError&) {
    // Only a number too large for a float fails; its sign still tells which end.
    const auto sign = text.find_first_not_of(" \t\n");
    const bool negative = sign != std::string_view::npos && text[sign] == '-';
    return negative ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max();
  }
}

}  // namespace

std::int16_t RollDirFromText(std::string_view rollDirText) {
  const double number = ClampedNumber(rollDirText);
  std::int16_t rollDir = 0;
  if (number >= std::numeric_limits<std::int16_t>::max()) {
    rollDir = std::numeric_limits<std::int16_t>::max();
  } else if (number > std::numeric_limits<std::int16_t>::min()) {
    rollDir = ToPoints(number);
  }
  return rollDir < 1 ? 0 : rollDir;
}

void ViewerSettings::ReadSettings(std::string_view settingsPath, const PlatformInfo& platform) {
  RollDir = 0;
  IniFound = CheckFile(settingsPath) == kCheckUsable ? 1 : 0;
  if (IniFound == 0) return;
  settingsLine_.clear();
  settingsLineUp_.clear();
  const auto found = FindFile(settingsPath);
  std::unique_ptr<std::FILE, FileCloser> file(found ? std::fopen(found->c_str(), "rb") : nullptr);
  if (file) {
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
      for (std::size_t i = 0; i < count; ++i) TakeByte(buffer[i]);
    }
  }
  file.reset();
  // A last line without LF.
  if (!settingsLine_.empty()) ReadSettingsLine();
  RollDir = RollDirFromText(RollDirText);
  DetectPlatform(platform);
}

void ViewerSettings::TakeByte(char c) {
  settingsLine_ += c;
  settingsLineUp_ += static_cast<char>(UpperByte1252(static_cast<unsigned char>(c)));
  if (c != '\n') return;
  ReadSettingsLine();
  settingsLine_.clear();
  settingsLineUp_.clear();
}

void ViewerSettings::ReadSettingsLine() {
  const auto found = settingsLineUp_.find(kRollDirKey);
  if (found == std::string::npos) return;
  RollDirText.clear();
  for (std::size_t i = found + kRollDirKey.size(); i < settingsLine_.size(); ++i) {
    const char c = settingsLine_[i];
    if (c != '\r' && c != '\n') RollDirText += c;
  }
}

void ViewerSettings::DetectPlatform(const PlatformInfo& platform) {
  const PlatformIdentity identity = platform.Identity();
  const PlatformResult result =
      DetectPlatformFrom(identity.Number, VersionText(identity.Version, identity.DecimalSeparator),
                         platform.PrinterNames());
  Platform = result.Platform;
  FaxEnabled = result.FaxEnabled;
  PdfEnabled = result.PdfEnabled;
}

}  // namespace lvx
