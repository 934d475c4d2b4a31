// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_script.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

TEST(ShellQuote, EverythingStaysOneLiteralWord) {
  const struct {
    const char* text;
    const char* quoted;
  } rows[] = {
      {"", "''"},
      {"a b", "'a b'"},
      {"it's", "'it'\\''s'"},
      {"''", "''\\'''\\'''"},
      {"$HOME `id` \"x\" \\ ;|&<>*?", "'$HOME `id` \"x\" \\ ;|&<>*?'"},
  };
  for (const auto& row : rows) EXPECT_EQ(ShellQuote(row.text), row.quoted) << row.text;
}

TEST(CompanionScript, RemarkCommandAndFlagRemoval) {
  const CompanionCommand mail{"/opt/lvx/lvxmail", {"/home/a/March 2009/f001.lvx", "/T:2"}};
  EXPECT_EQ(CompanionScript(mail, "/opt/lvx/lvxview.flg"),
            "# FERRO LUMEN srl - t.vardel - https://lvx.example.org\n"
            "'/opt/lvx/lvxmail' '/home/a/March 2009/f001.lvx' '/T:2'\n"
            "rm -f -- '/opt/lvx/lvxview.flg'\n");
}

TEST(FlagFileLine, DateTimeAndProgramName) {
  const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 4));
  EXPECT_EQ(FlagFileLine(when, "lvxview"), "03-07-2026 09:05:04 lvxview\n");
  EXPECT_EQ(FlagFileLine(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), "lvxview"),
            "12-31-2026 23:59:59 lvxview\n");
}

// The shell itself runs the script: the names reach the program as they
// are, nothing in them runs, and the flag file goes.
TEST(CompanionScript, ShellRunsNothingButTheCompanion) {
  testing::TempDir dir;
  const std::string recorder =
      dir.Write("app dir/rec'order", "#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$0.args\"\n");
  fs::permissions(recorder, fs::perms::owner_all);
  const std::string flag = dir.Write("app dir/lvx'view $x.flg", "x");
  const std::vector<std::string> names = {
      dir.path() + "/a b; touch pwned.lvx",
      "it's $(touch pwned2) `touch pwned3` \"q\" \\ *.lvx",
      "line\nbreak & touch pwned4 | cat",
      "/T:2",
  };
  const std::string script = dir.Write("scract.sh", CompanionScript({recorder, names}, flag));
  const std::string command = "cd '" + dir.path() + "' && /bin/sh scract.sh";
  ASSERT_EQ(std::system(command.c_str()), 0);

  std::string expected;
  for (const std::string& name : names) expected += name + '\0';
  EXPECT_EQ(testing::ReadAll(recorder + ".args"), expected);
  EXPECT_FALSE(fs::exists(flag));
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find("pwned"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace lvx
