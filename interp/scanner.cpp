// SPDX-License-Identifier: GPL-3.0-or-later
#include "scanner.h"

#include <limits>

#include "cp1252.h"
#include "scan_error.h"

namespace lvx {
namespace {

std::int16_t ToPosition(std::size_t position) {
  if (position > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    throw ScanError("record position beyond 32767");
  }
  return static_cast<std::int16_t>(position);
}

// Which list of marks a character goes to; -1 for none.
int MarkIndex(char c) {
  switch (c) {
    case '*':
      return 0;
    case '/':
      return 1;
    case '#':
      return 2;
    default:
      return -1;
  }
}

// Whether `key` stands at `at`; keys are a few characters, compared in place.
bool KeyAt(const std::string& up, std::size_t at, std::string_view key) {
  if (up.size() - at < key.size()) return false;
  for (std::size_t i = 1; i < key.size(); ++i) {
    if (up[at + i] != key[i]) return false;
  }
  return true;
}

}  // namespace

void RecordScanner::SetRecord(std::string_view line, const TailKeys* tail) {
  tail_.reset();
  if (tail != nullptr) tail_ = *tail;
  // Assigning keeps the buffers of the previous record: no allocation per line.
  currentRecord_.assign(line);
  currentRecordUp_.resize(line.size());
  for (auto& marks : marks_) marks.clear();
  const unsigned char* upper = UpperTable1252();
  char* up = currentRecordUp_.data();
  for (std::size_t i = 0; i < line.size(); ++i) {
    up[i] = static_cast<char>(upper[static_cast<unsigned char>(line[i])]);
    const int mark = MarkIndex(up[i]);
    if (mark >= 0) marks_[mark].push_back(static_cast<std::uint32_t>(i));
  }
}

std::int16_t RecordScanner::FindKey(std::string_view key) {
  std::size_t found = std::string::npos;
  const int mark = key.empty() ? -1 : MarkIndex(key.front());
  if (mark < 0) {
    found = currentRecordUp_.find(key);
  } else {
    // The first mark where the key follows is its first occurrence.
    for (const std::uint32_t at : marks_[mark]) {
      if (KeyAt(currentRecordUp_, at, key)) {
        found = at;
        break;
      }
    }
  }
  if (found == std::string::npos && tail_ && tail_->Has(key)) {
    throw ScanError("key beyond the kept part of a long line");
  }
  scanPos_ = found == std::string::npos ? 0 : ToPosition(found + 1);
  return scanPos_;
}

std::optional<std::string> RecordScanner::CutValue(std::string_view key) {
  return Cut(key, false);
}

std::optional<std::string> RecordScanner::CutRest(std::string_view key) {
  return Cut(key, true);
}

std::optional<std::string> RecordScanner::Cut(std::string_view key, bool toLineEnd) {
  if (FindKey(key) == 0) return std::nullopt;
  scanPos_ = ToPosition(static_cast<std::size_t>(scanPos_) + key.size());
  const std::size_t start = static_cast<std::size_t>(scanPos_) - 1;
  std::size_t end = currentRecord_.size() + 1;
  if (!toLineEnd) {
    const std::size_t slash = currentRecord_.find('/', start);
    if (slash != std::string::npos) end = slash + 1;
    // The value of a cut line ends past the kept part, far beyond 32,767.
    if (slash == std::string::npos && tail_) throw ScanError("value beyond 32767");
  }
  scanEnd_ = ToPosition(end);
  return currentRecord_.substr(start, static_cast<std::size_t>(scanEnd_ - scanPos_));
}

}  // namespace lvx
