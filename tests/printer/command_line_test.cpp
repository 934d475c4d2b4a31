// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

constexpr std::string_view kStart = "/start";

TEST(ParsePrintCommand, PathCopiesAndParts) {
  const struct {
    std::string_view text;
    std::string_view docPath;
    std::string_view docFolder;
    std::string_view docFileName;
    int copies;
  } rows[] = {
      {"", "", "", "", 0},
      {"   ", "", "", "", 0},
      {"\" \"", "", "", "", 0},
      {"/home/u/a.lvx", "/home/u/a.lvx", "/home/u", "a.lvx", 0},
      {"  /home/u/a.lvx  ", "/home/u/a.lvx", "/home/u", "a.lvx", 0},
      // The blank before "/C:" stays with the path.
      {"/home/u/a.lvx /C:3", "/home/u/a.lvx ", "/home/u", "a.lvx ", 3},
      {"/home/u/a.lvx/c:3", "/home/u/a.lvx", "/home/u", "a.lvx", 3},
      {"\"/home/u/my docs/a b.lvx\"", "/home/u/my docs/a b.lvx", "/home/u/my docs", "a b.lvx", 0},
      {"\"/home/u/a\"\"b.lvx\" /C:2", "/home/u/ab.lvx ", "/home/u", "ab.lvx ", 2},
      // Everything up to "/CMD" goes.
      {"whatever /CMD /home/u/a.lvx", "/home/u/a.lvx", "/home/u", "a.lvx", 0},
      {"x /cmd \"/home/u/a.lvx\" /C:2", "/home/u/a.lvx ", "/home/u", "a.lvx ", 2},
      {"/CMD/x /CMD /home/u/a.lvx", "/home/u/a.lvx", "/home/u", "a.lvx", 0},
      {"/CMD", "", "", "", 0},
      {"/home/u/a.lvx /CMD", "", "", "", 0},
      // Folders whose names start with "cmd" are no key.
      {"/home/cmdfiles/a.lvx", "/home/cmdfiles/a.lvx", "/home/cmdfiles", "a.lvx", 0},
      {"/srv/CMD/a.lvx", "/srv/CMD/a.lvx", "/srv/CMD", "a.lvx", 0},
      // Relative paths are taken in the start folder.
      {"a.lvx", "/start/a.lvx", "/start", "a.lvx", 0},
      {"sub/a.lvx /C:2", "/start/sub/a.lvx ", "/start/sub", "a.lvx ", 2},
      {"/a.lvx", "/a.lvx", "/", "a.lvx", 0},
      // Copies: ToNumber, halves to even; what fails gives 0.
      {"a.lvx /C:", "/start/a.lvx ", "/start", "a.lvx ", 0},
      {"a.lvx /C:0", "/start/a.lvx ", "/start", "a.lvx ", 0},
      {"a.lvx /C:2.5", "/start/a.lvx ", "/start", "a.lvx ", 2},
      {"a.lvx /C:3.5", "/start/a.lvx ", "/start", "a.lvx ", 4},
      {"a.lvx /C:100", "/start/a.lvx ", "/start", "a.lvx ", 100},
      {"a.lvx /C:-1", "/start/a.lvx ", "/start", "a.lvx ", -1},
      {"a.lvx /C:abc", "/start/a.lvx ", "/start", "a.lvx ", 0},
      {"a.lvx /C: 1 2", "/start/a.lvx ", "/start", "a.lvx ", 12},
      {"a.lvx /C:40000", "/start/a.lvx ", "/start", "a.lvx ", 0},
      {"a.lvx /C:1e39", "/start/a.lvx ", "/start", "a.lvx ", 0},
      {"a.lvx /C:2 /C:5", "/start/a.lvx ", "/start", "a.lvx ", 2},
      {"/C:3", "", "", "", 3},
      {"\"/home/u/a.lvx \" /C:4", "/home/u/a.lvx  ", "/home/u", "a.lvx  ", 4},
  };
  for (const auto& row : rows) {
    const PrintCommand command = ParsePrintCommand(row.text, kStart);
    EXPECT_EQ(command.DocPath, row.docPath) << row.text;
    EXPECT_EQ(command.DocFolder, row.docFolder) << row.text;
    EXPECT_EQ(command.DocFileName, row.docFileName) << row.text;
    EXPECT_EQ(command.copies, row.copies) << row.text;
  }
}

TEST(ParsePrintCommand, StartFolderWithTrailingSeparatorOrRoot) {
  EXPECT_EQ(ParsePrintCommand("a.lvx", "/start/").DocPath, "/start/a.lvx");
  const PrintCommand atRoot = ParsePrintCommand("a.lvx", "/");
  EXPECT_EQ(atRoot.DocPath, "/a.lvx");
  EXPECT_EQ(atRoot.DocFolder, "/");
}

TEST(ParsePrintCommand, TextBeyondTheLimitGivesNoDocument) {
  const std::string path = "/" + std::string(kCommandTextLimit - 1, 'p');
  const PrintCommand fits = ParsePrintCommand(path, kStart);
  EXPECT_EQ(fits.DocPath, path);

  const PrintCommand tooLong = ParsePrintCommand(path + "x", kStart);
  EXPECT_EQ(tooLong.DocPath, "");
  EXPECT_EQ(tooLong.DocFolder, "");
  EXPECT_EQ(tooLong.DocFileName, "");

  // The limit counts after the "/CMD" cut, the blank after the key included.
  const std::string before(3000, 'j');
  const std::string shorter = "/" + std::string(kCommandTextLimit - 2, 'p');
  EXPECT_EQ(ParsePrintCommand(before + " /CMD " + shorter, kStart).DocPath, shorter);
  EXPECT_EQ(ParsePrintCommand(before + " /CMD " + path, kStart).DocPath, "");
  EXPECT_EQ(ParsePrintCommand(path + " /C:3", kStart).copies, 0);
}

TEST(CopiesForRun, CommandLineFirstWithinOneTo99) {
  const struct {
    int command;
    int settings;
    int run;
  } rows[] = {
      {0, 5, 5}, {3, 5, 3}, {99, 5, 99}, {100, 5, 1}, {-1, 5, 1}, {0, 1, 1}, {0, 99, 99},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CopiesForRun(static_cast<std::int16_t>(row.command),
                           static_cast<std::int16_t>(row.settings)),
              row.run)
        << row.command << " " << row.settings;
  }
}

TEST(GetCommandText, JoinsTheArgumentsWithSingleBlanks) {
  const char* const argv[] = {"lvxprint", "/home/u/a b.lvx", "/C:2", ""};
  EXPECT_EQ(GetCommandText(1, argv), "");
  EXPECT_EQ(GetCommandText(2, argv), "/home/u/a b.lvx");
  EXPECT_EQ(GetCommandText(4, argv), "/home/u/a b.lvx /C:2 ");
}

}  // namespace
}  // namespace lvx
