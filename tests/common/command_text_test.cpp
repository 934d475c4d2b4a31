// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_text.h"

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

TEST(CommandArguments, CutsTheSwitchRemovesQuotesAndTrims) {
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
  for (const auto& [text, path] : rows) EXPECT_EQ(CommandArguments(text), path) << text;
}

TEST(FindArgumentKey, OnlyWhereTheKeyStartsAnArgument) {
  constexpr auto kNone = std::string_view::npos;
  const struct {
    std::string_view textUp;
    std::size_t from;
    std::size_t at;
  } rows[] = {
      {"/C:3", 0, 0},
      {"A.LVX /C:3", 0, 6},
      {"\"A.LVX\"/C:3", 0, 7},
      {"A.LVX/C:3", 0, kNone},
      {"/W/DOSDEVICES/C:/A.LVX", 0, kNone},
      {"/W/DOSDEVICES/C:/A.LVX /C:2", 0, 23},
      {"/C:1 /C:2", 1, 5},
      {"/C:1", 1, kNone},
      {"", 0, kNone},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FindArgumentKey(row.textUp, "/C:", row.from), row.at) << row.textUp;
  }
}

TEST(ArgumentText, KeepsQuotesAndBlanksAndRefusesTooLongText) {
  EXPECT_EQ(ArgumentText("x /CMD \"a b\" "), std::optional<std::string_view>(" \"a b\" "));
  EXPECT_EQ(ArgumentText(std::string(kCommandTextLimit, 'a')),
            std::optional<std::string_view>(std::string(kCommandTextLimit, 'a')));
  EXPECT_EQ(ArgumentText(std::string(kCommandTextLimit + 1, 'a')), std::nullopt);
}

TEST(CommandArguments, RefusesTextBeyondTheLimitWhole) {
  const std::string longest(kCommandTextLimit, 'a');
  EXPECT_EQ(CommandArguments(longest), longest);
  EXPECT_EQ(CommandArguments(longest + "b"), "");
  // The limit counts what follows the switch, quotes and blanks included.
  EXPECT_EQ(CommandArguments(std::string(2000, 'j') + " /CMD /a.lvx"), "/a.lvx");
  EXPECT_EQ(CommandArguments("/CMD " + std::string(kCommandTextLimit - 1, 'a')),
            std::string(kCommandTextLimit - 1, 'a'));
  EXPECT_EQ(CommandArguments("/CMD " + std::string(kCommandTextLimit, 'a')), "");
  EXPECT_EQ(CommandArguments("\"" + std::string(kCommandTextLimit - 1, 'a') + "\""), "");
}

}  // namespace
}  // namespace lvx
