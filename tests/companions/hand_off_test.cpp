// SPDX-License-Identifier: GPL-3.0-or-later
#include "hand_off.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

using namespace std::chrono_literals;
using testing::ReadAll;
using testing::TempDir;

const std::vector<std::string> kPath = {"PATH=/usr/bin:/bin"};

TEST(HandOff, HowTheProgramEndedDecides) {
  const struct {
    std::string script;
    HandOffResult::State state;
    int exitStatus;
    bool ok;
    std::string failure;
  } rows[] = {
      {"exit 0", HandOffResult::State::kEnded, 0, true, ""},
      {"exit 4", HandOffResult::State::kEnded, 4, false, "sh failed (exit status 4)"},
      {"kill -9 $$", HandOffResult::State::kEnded, -1, false, "sh was ended by a signal"},
      // Still running after the wait: it has taken over, which is success.
      {"sleep 1", HandOffResult::State::kRunning, -1, true, ""},
  };
  for (const auto& row : rows) {
    const HandOffResult result = HandOff("sh", {"-c", row.script}, kPath, 200ms);
    EXPECT_EQ(result.state, row.state) << row.script;
    EXPECT_EQ(result.exitStatus, row.exitStatus) << row.script;
    EXPECT_EQ(result.ok(), row.ok) << row.script;
    EXPECT_EQ(HandOffFailure("sh", result), row.failure) << row.script;
  }
}

TEST(HandOff, AMissingProgramIsNotStarted) {
  const HandOffResult result = HandOff("lvx-no-such-program", {}, kPath, 1s);
  EXPECT_EQ(result.state, HandOffResult::State::kNotStarted);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(HandOffFailure("lvx-no-such-program", result),
            "cannot start lvx-no-such-program: No such file or directory");
}

TEST(HandOff, ArgumentsAndEnvironmentArriveAsGiven) {
  TempDir dir;
  const std::string out = dir.path() + "/out";
  const std::string hostile = "it's \"$(touch " + dir.path() + "/pwned)\" `id` ; *";
  const HandOffResult result =
      HandOff("sh",
              {"-c",
               "printf '%s|' \"$@\" \"$LVX_SEEN\" \"${QT_QPA_PLATFORM-unset}\" "
               "\"$(readlink /proc/$$/fd/2)\" > \"$0\"; "
               "read -r line || printf 'stdin is empty' >> \"$0\"",
               out, hostile, ""},
              {"PATH=/usr/bin:/bin", "LVX_SEEN=yes"}, 5s);
  ASSERT_TRUE(result.ok()) << HandOffFailure("sh", result);
  EXPECT_EQ(ReadAll(out), hostile + "||yes|unset|/dev/null|stdin is empty");
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/pwned"));
}

}  // namespace
}  // namespace lvx
