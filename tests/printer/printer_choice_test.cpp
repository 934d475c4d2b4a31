// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "printer_system.h"

namespace lvx {
namespace {

TEST(ChoosePrinter, ExactNameElseDefaultElseFirst) {
  const std::vector<std::string> queues = {"Laser", "Office", "Photo"};
  const struct {
    std::vector<std::string> installed;
    std::string_view defaultName;
    std::string_view wanted;
    std::optional<std::string> chosen;
  } rows[] = {
      {queues, "Office", "Photo", "Photo"},
      {queues, "Office", "Office", "Office"},
      // Letter case and blanks count: no match gives the default printer.
      {queues, "Office", "photo", "Office"},
      {queues, "Office", " Photo", "Office"},
      {queues, "Office", "Photo ", "Office"},
      {queues, "Office", "", "Office"},
      {queues, "Office", "Gone", "Office"},
      // Queues but no default (or one that is not listed): the first queue.
      {queues, "", "Gone", "Laser"},
      {queues, "Vanished", "Gone", "Laser"},
      {queues, "", "Photo", "Photo"},
      // No printer at all.
      {{}, "", "Laser", std::nullopt},
      {{}, "Laser", "Laser", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ChoosePrinter(row.installed, row.defaultName, row.wanted), row.chosen)
        << row.wanted << " / default " << row.defaultName;
  }
}

}  // namespace
}  // namespace lvx
