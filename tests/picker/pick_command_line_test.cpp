// SPDX-License-Identifier: GPL-3.0-or-later
#include "pick_command_line.h"

#include <gtest/gtest.h>

#include "command_line.h"

namespace lvx {
namespace {

TEST(HideCopiesRequested, NoCopiesCountsAfterCmdOrInTheWholeLine) {
  const struct {
    std::string command;
    bool hide;
  } rows[] = {
      {"", false},
      {"/NOCOPIES", true},
      {"  /NoCopies  ", true},
      {"\"/NOCOPIES\"", true},
      {"junk/NOCOPIESjunk", true},
      {"/NOCOPY", false},
      {"/NO COPIES", false},
      {"/NOCOPIES /CMD", false},
      {"/NOCOPIES /CMD /C:3", false},
      {"/CMD /NOCOPIES", true},
      {"x /cmd \"/nocopies\"", true},
      {"/CMD/NOCOPIES", true},
      // Past the length limit nothing counts.
      {"/CMD /NOCOPIES" + std::string(kCommandTextLimit, ' '), false},
      {std::string(5000, 'x') + " /CMD /NOCOPIES", true},
  };
  for (const auto& row : rows) EXPECT_EQ(HideCopiesRequested(row.command), row.hide) << row.command;
}

}  // namespace
}  // namespace lvx
