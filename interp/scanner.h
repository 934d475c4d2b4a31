// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tail_keys.h"

namespace lvx {

// The current record and the option scanner every record handler uses.
// Keys are searched in the upper-case copy, values are cut from the line as
// read. Positions are 1-based and 16-bit: any position beyond 32,767 throws
// ScanError, which ends the handling of the record.
class RecordScanner {
 public:
  // Makes `line` the current record (bytes as read, Windows-1252). For a
  // line cut at kKeptLineBytes, `tail` tells which keys its cut-off part
  // holds: a key found only there is beyond 32,767 and fails like one.
  void SetRecord(std::string_view line, const TailKeys* tail = nullptr);

  const std::string& CurrentRecord() const { return currentRecord_; }
  const std::string& CurrentRecordUp() const { return currentRecordUp_; }

  // 1-based position of the first occurrence of `key` (upper case), 0 when
  // absent. Throws ScanError when the position does not fit 16 bits.
  std::int16_t FindKey(std::string_view key);

  // Value of a "/K:" key: up to the next "/" or the end of the line, blanks
  // kept. Absent key gives nullopt, which differs from an empty value.
  std::optional<std::string> CutValue(std::string_view key);

  // As CutValue, but the value always runs to the end of the line.
  std::optional<std::string> CutRest(std::string_view key);

  bool HasFlag(std::string_view key) { return FindKey(key) > 0; }

  std::int16_t ScanPos() const { return scanPos_; }
  std::int16_t ScanEnd() const { return scanEnd_; }

 private:
  std::optional<std::string> Cut(std::string_view key, bool toLineEnd);

  std::string currentRecord_;
  std::string currentRecordUp_;
  std::optional<TailKeys> tail_;  // set for a cut line
  // Where "*", "/" and "#" stand in the record, in order: every keyword and
  // key starts with one of them, so a key is looked for only there.
  std::vector<std::uint32_t> marks_[3];
  std::int16_t scanPos_ = 0;
  std::int16_t scanEnd_ = 0;
};

}  // namespace lvx
