// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

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
      // "/C:" counts only where it starts an argument; inside a path it is
      // part of a folder's or file's name (wine's dosdevices/c:).
      {"/home/u/a.lvx/c:3", "/home/u/a.lvx/c:3", "/home/u/a.lvx", "c:3", 0},
      {"/root/.wine/dosdevices/c:/u/a.lvx", "/root/.wine/dosdevices/c:/u/a.lvx",
       "/root/.wine/dosdevices/c:/u", "a.lvx", 0},
      {"/w/dosdevices/c:/a.lvx /c:2", "/w/dosdevices/c:/a.lvx ", "/w/dosdevices/c:", "a.lvx ", 2},
      {"/mnt/C:3/a.lvx", "/mnt/C:3/a.lvx", "/mnt/C:3", "a.lvx", 0},
      {"\"/home/u/a.lvx\"/C:3", "/home/u/a.lvx", "/home/u", "a.lvx", 3},
      {"\"/w/c:/a b.lvx\" \"/C:5\"", "/w/c:/a b.lvx ", "/w/c:", "a b.lvx ", 5},
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

  EXPECT_FALSE(fits.tooLong);
  const PrintCommand tooLong = ParsePrintCommand(path + "x", kStart);
  EXPECT_TRUE(tooLong.tooLong);
  EXPECT_EQ(tooLong.DocPath, "");
  EXPECT_EQ(tooLong.DocFolder, "");
  EXPECT_EQ(tooLong.DocFileName, "");

  // The limit counts after the "/CMD" cut, the blank after the key included.
  const std::string before(3000, 'j');
  const std::string shorter = "/" + std::string(kCommandTextLimit - 2, 'p');
  EXPECT_EQ(ParsePrintCommand(before + " /CMD " + shorter, kStart).DocPath, shorter);
  EXPECT_EQ(ParsePrintCommand(before + " /CMD " + path, kStart).DocPath, "");
  EXPECT_EQ(ParsePrintCommand(path + " /C:3", kStart).copies, 0);
  EXPECT_TRUE(ParsePrintCommand(path + " /C:3", kStart).tooLong);
  EXPECT_FALSE(ParsePrintCommand("", kStart).tooLong);
}

TEST(FolderOf, UpToTheLastSeparator) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"/home/u/a.lvx", "/home/u"}, {"/a.lvx", "/"}, {"a.lvx", ""}, {"/x/y/", "/x/y"}, {"", ""}};
  for (const auto& [path, folder] : rows) EXPECT_EQ(FolderOf(path), folder) << path;
}

TEST(ChangeFolder, SaysWhyItCannot) {
  const auto before = std::filesystem::current_path();
  testing::TempDir dir;
  EXPECT_EQ(ChangeFolder(dir.path()), "");
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
  EXPECT_EQ(ChangeFolder(dir.path() + "/missing"), "No such file or directory");
  EXPECT_EQ(ChangeFolder(dir.Write("file", "x")), "Not a directory");
  EXPECT_NE(ChangeFolder(""), "");
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
  std::filesystem::current_path(before);
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

}  // namespace
}  // namespace lvx
