// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <vector>

#include "check_file.h"
#include "convert.h"
#include "cp1252.h"
#include "owned_fd.h"
#include "scan_error.h"
#include "tail_keys.h"

namespace lvx {
namespace {

constexpr std::string_view kRollDirKey = "ROLLDIR=";
constexpr std::size_t kReadBytes = 64 * 1024;

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
  int fd = -1;
  IniFound = CheckAndOpenFile(settingsPath, fd) == kCheckUsable ? 1 : 0;
  if (IniFound == 0) return;
  // The file checked is the file read, even if another takes its name now.
  const OwnedFd file(fd);
  settingsLine_.clear();
  std::vector<char> buffer(kReadBytes);
  for (;;) {
    const ssize_t got = ::read(file.fd(), buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    TakeBytes(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
  }
  // A last line without LF.
  if (!settingsLine_.empty()) FinishLine();
  RollDir = RollDirFromText(RollDirText);
  DetectPlatform(platform);
}

void ViewerSettings::TakeBytes(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    const auto part = bytes.substr(0, end);
    const std::size_t room = kKeptLineBytes - std::min(settingsLine_.size(), kKeptLineBytes);
    settingsLine_.append(part.substr(0, room));
    if (end == std::string_view::npos) return;
    FinishLine();
    bytes.remove_prefix(end + 1);
  }
}

void ViewerSettings::FinishLine() {
  settingsLineUp_ = UpperCase1252(settingsLine_);
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
