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

}  // namespace

void RecordScanner::SetRecord(std::string_view line, const TailKeys* tail) {
  tail_.reset();
  if (tail != nullptr) tail_ = *tail;
  // Assigning keeps the buffers of the previous record: no allocation per line.
  currentRecord_.assign(line);
  currentRecordUp_.assign(line);
  UpperCaseInPlace1252(currentRecordUp_);
}

std::int16_t RecordScanner::FindKey(std::string_view key) {
  const std::size_t found = currentRecordUp_.find(key);
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
