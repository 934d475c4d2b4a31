// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform.h"

namespace lvx::testing {

// A platform whose identity and printers the test sets; counts the
// questions asked of it.
class FakePlatform : public PlatformInfo {
 public:
  PlatformIdentity identity;
  std::vector<std::string> printers;
  mutable int questions = 0;

  PlatformIdentity Identity() const override {
    ++questions;
    return identity;
  }
  std::vector<std::string> PrinterNames() const override {
    ++questions;
    return printers;
  }
};

}  // namespace lvx::testing
