// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace lvx {
namespace {

TEST(GetCommandText, JoinsTheArgumentsWithSingleBlanks) {
  struct Row {
    std::vector<const char*> argv;
    std::string text;
  };
  const std::vector<Row> rows = {
      {{"lvxview"}, ""},
      {{"lvxview", "/docs/a.lvx"}, "/docs/a.lvx"},
      {{"lvxview", "/docs/March", "2009/f001.lvx"}, "/docs/March 2009/f001.lvx"},
      {{"lvxview", "/docs/March 2009/f001.lvx"}, "/docs/March 2009/f001.lvx"},
      {{"lvxview", "", "a.lvx"}, " a.lvx"},
      {{"lvxview", "/CMD", "\"/x/a.lvx\""}, "/CMD \"/x/a.lvx\""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(GetCommandText(static_cast<int>(row.argv.size()), row.argv.data()), row.text);
  }
}

TEST(CleanCommandText, CutsTheSwitchRemovesQuotesAndTrims) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"/docs/March 2009/f001.lvx", "/docs/March 2009/f001.lvx"},
      {"\"/docs/March 2009/f001.lvx\"", "/docs/March 2009/f001.lvx"},
      {"  /docs/a.lvx  ", "/docs/a.lvx"},
      {"anything /cmd /x/a.lvx", "/x/a.lvx"},
      {"/CMD \"/x/a b.lvx\"", "/x/a b.lvx"},
      {"/Cmd /x/a.lvx", "/x/a.lvx"},
      {"\"/CMD\" /x/a.lvx", "/x/a.lvx"},
      {"/cmd a.lvx /cmd b.lvx", "a.lvx /cmd b.lvx"},
      {"a\"b.lvx", "ab.lvx"},
      {"x /CMD", ""},
      {"", ""},
      {"  \"  \"  ", ""},
      // "/cmd" that begins a folder or file name is part of the path.
      {"/srv/cmdout/a.lvx", "/srv/cmdout/a.lvx"},
      {"/cmd/a.lvx", "/cmd/a.lvx"},
      {"/srv/x/cmd.lvx", "/srv/x/cmd.lvx"},
      {"/srv/x /cmd.lvx", "/srv/x /cmd.lvx"},
  };
  for (const auto& [text, path] : rows) EXPECT_EQ(CleanCommandText(text), path) << text;
}

TEST(CleanCommandText, RefusesTextBeyondTheLimitWhole) {
  const std::string longest(kMaxArgumentText, 'a');
  EXPECT_EQ(CleanCommandText(longest), longest);
  EXPECT_EQ(CleanCommandText(longest + "b"), "");
  // The limit counts what follows the switch, quotes and blanks included.
  EXPECT_EQ(CleanCommandText(std::string(2000, 'j') + " /CMD /a.lvx"), "/a.lvx");
  EXPECT_EQ(CleanCommandText("/CMD " + std::string(kMaxArgumentText - 1, 'a')),
            std::string(kMaxArgumentText - 1, 'a'));
  EXPECT_EQ(CleanCommandText("/CMD " + std::string(kMaxArgumentText, 'a')), "");
  EXPECT_EQ(CleanCommandText("\"" + std::string(kMaxArgumentText - 1, 'a') + "\""), "");
}

TEST(SplitDocumentPath, SplitsAtTheLastSeparator) {
  struct Row {
    std::string cmdText;
    std::string docPath;
    std::string fileName;
    std::string folder;
  };
  const std::vector<Row> rows = {
      {"/docs/March 2009/f001.lvx", "/docs/March 2009/f001.lvx", "f001.lvx", "/docs/March 2009/"},
      {"f001.lvx", "f001.lvx", "f001.lvx", "/home/u"},
      {"sub/a.lvx", "sub/a.lvx", "a.lvx", "sub/"},
      {"/a.lvx", "/a.lvx", "a.lvx", "/"},
      {"/docs/", "/docs/", "", "/docs/"},
      {"", "", "", "/home/u"},
      // Only "/" separates here: a backslash is part of the name.
      {"a\\b.lvx", "a\\b.lvx", "a\\b.lvx", "/home/u"},
  };
  for (const auto& row : rows) {
    const SplitPath split = SplitDocumentPath(row.cmdText, "/home/u");
    EXPECT_EQ(split.DocPath, row.docPath) << row.cmdText;
    EXPECT_EQ(split.DocFileName, row.fileName) << row.cmdText;
    EXPECT_EQ(split.DocFolder, row.folder) << row.cmdText;
  }
}

}  // namespace
}  // namespace lvx
