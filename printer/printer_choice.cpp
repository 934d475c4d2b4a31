// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "printer_system.h"

namespace lvx {

std::optional<std::string> ChoosePrinter(const std::vector<std::string>& installed,
                                         std::string_view defaultName, std::string_view wanted) {
  const auto Installed = [&](std::string_view name) {
    return std::find(installed.begin(), installed.end(), name) != installed.end();
  };
  if (Installed(wanted)) return std::string(wanted);
  if (Installed(defaultName)) return std::string(defaultName);
  // Queues but no default: a printer that exists beats printing nothing.
  if (!installed.empty()) return installed.front();
  return std::nullopt;
}

}  // namespace lvx
