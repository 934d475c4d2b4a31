// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lvx {

// Lines longer than this keep only their first bytes in memory. Every
// position past 32,767 overflows the scanner anyway, so what a longer line
// holds beyond the kept part only matters as "is this key there at all":
// TailKeys remembers that for every key the interpreter looks for.
inline constexpr std::size_t kKeptLineBytes = 64 * 1024;

// Which of the interpreter's keys occur (in upper case) in the cut-off part
// of a long line, including keys that straddle the cut.
class TailKeys {
 public:
  // Starts a new tail; `keptEnd` is the end of the kept part, so that keys
  // straddling the cut are seen.
  void Start(std::string_view keptEnd);
  // Scans the next bytes of the tail, as read.
  void Scan(std::string_view bytes);

  // Whether `key` occurs in the tail. Keys the interpreter never looks for
  // are not tracked and count as present, which is the cautious answer: the
  // scanner then fails the record as it would for a key found too far out.
  bool Has(std::string_view key) const;

 private:
  std::uint64_t found_ = 0;
  std::string carry_;  // the last bytes seen, upper case, for straddling keys
};

}  // namespace lvx
