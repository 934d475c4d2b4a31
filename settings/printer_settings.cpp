// SPDX-License-Identifier: GPL-3.0-or-later
#include "printer_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>

#include "convert.h"
#include "cp1252.h"
#include "file_lookup.h"
#include "scan_error.h"
#include "tail_keys.h"

namespace lvx {
namespace {

constexpr std::string_view kPrinterKey = "PRINTER=";
constexpr std::string_view kCopiesKey = "COPIES=";

// Collects bytes into lines and interprets each finished line. Of a line
// longer than kKeptLineBytes only that many bytes count, as in documents:
// memory and time stay bounded whatever the file holds.
class SettingsLines {
 public:
  void Add(std::string_view bytes) {
    while (!bytes.empty()) {
      const auto end = bytes.find('\n');
      const std::size_t room = kKeptLineBytes - std::min(line_.size(), kKeptLineBytes);
      line_.append(bytes.substr(0, end).substr(0, room));
      if (end == std::string_view::npos) return;
      Interpret();
      bytes.remove_prefix(end + 1);
    }
  }

  void Finish() {
    if (!line_.empty()) Interpret();
  }

  std::string printerName;
  std::string copiesText;

 private:
  void Interpret() {
    const std::string upper = UpperCase1252(line_);
    TakeValue(upper, kPrinterKey, printerName);
    TakeValue(upper, kCopiesKey, copiesText);
    line_.clear();
  }

  // The value runs to the end of the line; CR and LF anywhere in it drop out.
  void TakeValue(const std::string& upper, std::string_view key, std::string& value) const {
    const auto p = upper.find(key);
    if (p == std::string::npos) return;
    value.clear();
    for (char c : std::string_view(line_).substr(p + key.size())) {
      if (c != '\r' && c != '\n') value += c;
    }
  }

  std::string line_;
};

PrinterSettings Settle(const SettingsLines& lines, CopiesBound bound,
                       std::string_view defaultPrinter) {
  PrinterSettings settings;
  settings.printerName = lines.printerName;
  if (settings.printerName.empty() || settings.printerName == " ") {
    settings.printerName = std::string(defaultPrinter);
  }
  settings.copies = BoundedCopies(lines.copiesText, bound);
  settings.copiesText = std::to_string(settings.copies);
  return settings;
}

// Feeds the file's bytes to `lines`; nothing when it is no regular file.
// Non-blocking open, so that a pipe in the file's place cannot hang us.
void ReadRegularFile(const std::string& path, SettingsLines& lines) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    std::array<char, 65536> buffer{};
    for (;;) {
      const ssize_t got = ::read(fd, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      lines.Add(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
  }
  ::close(fd);
}

// The whole number a copies text stands for. Beyond 16 bits it counts as far
// out of range as its sign says; a text that gives no number, or one beyond
// a float, counts as 0.
int WholeCopies(std::string_view copiesText) {
  double number = 0;
  try {
    number = ToNumber(copiesText);
  } catch (const ScanError&) {
    return 0;
  }
  try {
    return ToPoints(number);
  } catch (const ScanError&) {
    return number > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
  }
}

}  // namespace

std::string PrinterSettingsPath(std::string_view appFolder) {
  std::string path(appFolder);
  if (path.empty() || path.back() != '/') path += '/';
  return path + "lvxprint.ini";
}

PrinterSettingsFiles PrinterSettingsFilesFor(const ProgramFolders& folders) {
  if (!folders.shared) return {PrinterSettingsPath(folders.AppFolder), {}, true};
  // Without a folder of the user's own there is only the program folder's file.
  const bool ownFile = folders.settingsFolder != folders.AppFolder;
  return {PrinterSettingsPath(folders.settingsFolder),
          ownFile ? PrinterSettingsPath(folders.AppFolder) : std::string(), false};
}

std::int16_t BoundedCopies(std::string_view copiesText, CopiesBound bound) {
  const int whole = WholeCopies(copiesText);
  const int upper = bound == CopiesBound::kBatchPrinter ? 99 : 29;
  if (whole > upper) return bound == CopiesBound::kBatchPrinter ? 1 : 29;
  if (whole < 1) return 1;
  return static_cast<std::int16_t>(whole);
}

PrinterSettings ParsePrinterSettings(std::string_view bytes, CopiesBound bound,
                                     std::string_view defaultPrinter) {
  SettingsLines lines;
  lines.Add(bytes);
  lines.Finish();
  return Settle(lines, bound, defaultPrinter);
}

PrinterSettings ReadPrinterSettings(const std::string& path, CopiesBound bound,
                                    std::string_view defaultPrinter) {
  return ReadPrinterSettings(PrinterSettingsFiles{path, {}, true}, bound, defaultPrinter);
}

PrinterSettings ReadPrinterSettings(const PrinterSettingsFiles& files, CopiesBound bound,
                                    std::string_view defaultPrinter) {
  SettingsLines lines;
  auto found = FindFile(files.path);
  if (!found && !files.fallback.empty()) found = FindFile(files.fallback);
  if (found) {
    ReadRegularFile(*found, lines);
  } else if (files.createMissing) {
    // A missing settings file is created empty; if that fails the reading
    // goes on as for an empty file.
    const int fd = ::open(files.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) ::close(fd);
  }
  lines.Finish();
  return Settle(lines, bound, defaultPrinter);
}

}  // namespace lvx
