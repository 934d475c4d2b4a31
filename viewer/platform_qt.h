// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform.h"

namespace lvx {

// The platform as Qt reports it. On Linux the platform number is 0; the
// version is the kernel's major + minor / 100; printers are the CUPS
// queues. Needs an application object; no display.
class QtPlatformInfo : public PlatformInfo {
 public:
  PlatformIdentity Identity() const override;
  std::vector<std::string> PrinterNames() const override;
};

}  // namespace lvx
