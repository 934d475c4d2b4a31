// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace lvx {

// Thrown when scanning or converting a record overflows (a position beyond
// 32,767, a number too large for a float, a point size outside 16 bits).
// It ends the handling of the current record; the reader or the merge
// catches it and goes on with its next step.
class ScanError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace lvx
