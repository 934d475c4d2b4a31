// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cp1252.h"
#include "temp_dir.h"

namespace lvx {
namespace {

using Names = std::vector<std::string>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(LowerCase1252, LowersLettersOfTheCodePage) {
  EXPECT_EQ(LowerCase1252("ABC xyz 09/_"), "abc xyz 09/_");
  EXPECT_EQ(LowerCase1252("\xC0\xC9\xDE\x8A\x8C\x8E\x9F"), "\xE0\xE9\xFE\x9A\x9C\x9E\xFF");
  // Multiplication sign, sharp s and micro sign have no other case.
  EXPECT_EQ(LowerCase1252("\xD7\xDF\xB5\xF7"), "\xD7\xDF\xB5\xF7");
}

TEST(LowerCase1252, EveryByteKeepsItsUpperCase) {
  for (int c = 0; c < 256; ++c) {
    const std::string byte(1, static_cast<char>(c));
    const std::string lower = LowerCase1252(byte);
    EXPECT_EQ(UpperCase1252(lower), UpperCase1252(byte)) << c;
    EXPECT_EQ(LowerCase1252(lower), lower) << c;
  }
}

TEST(ListDocuments, TakesVisibleRegularLvxFilesOnly) {
  testing::TempDir dir;
  for (const char* name : {"B.lvx", "a.lvx", "c.LVX", "notes.txt", ".hidden.lvx", "x.lvx.bak",
                           "lvx", ".lvx", "d.lvxx"}) {
    dir.Write(name, "*TEXT /T:x");
  }
  std::filesystem::create_directory(dir.path() + "/folder.lvx");
  ASSERT_EQ(::symlink("a.lvx", (dir.path() + "/link.lvx").c_str()), 0);
  ASSERT_EQ(::symlink("gone.lvx", (dir.path() + "/dead.lvx").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir.path() + "/pipe.lvx").c_str(), 0600), 0);
  EXPECT_EQ(Sorted(ListDocuments(dir.path() + "/", kMaxDocList)),
            (Names{"B.lvx", "a.lvx", "c.LVX", "link.lvx"}));
}

TEST(ListDocuments, StopsAtTheLimitAndSurvivesAMissingFolder) {
  testing::TempDir dir;
  for (const char* name : {"1.lvx", "2.lvx", "3.lvx", "4.lvx", "5.lvx"}) dir.Write(name, "x");
  EXPECT_EQ(ListDocuments(dir.path(), 3).size(), 3U);
  EXPECT_EQ(ListDocuments(dir.path() + "/missing/", kMaxDocList), Names{});
  EXPECT_EQ(ListDocuments(dir.Write("file", "x") + "/", kMaxDocList), Names{});
}

TEST(SortedDocList, LowerCasesAndSortsByByteValue) {
  const Names list = SortedDocList("/Docs/", {"c.lvx", "B.lvx", "\xC9t\xE9.lvx", "a.lvx", "_.lvx"});
  EXPECT_EQ(list, (Names{"", "/docs/_.lvx", "/docs/a.lvx", "/docs/b.lvx", "/docs/c.lvx",
                         "/docs/\xE9t\xE9.lvx"}));
  EXPECT_EQ(SortedDocList("/docs/", {}), Names{""});
}

TEST(FindDocIndex, ComparesInUpperCaseAndTakesTheLastMatch) {
  const Names list = {"", "/docs/a.lvx", "/docs/b.lvx", "/docs/b.lvx", "/docs/\xE9.lvx"};
  EXPECT_EQ(FindDocIndex(list, "/docs/a.lvx"), 1);
  EXPECT_EQ(FindDocIndex(list, "/DOCS/B.LVX"), 3);
  EXPECT_EQ(FindDocIndex(list, "/Docs/\xC9.lvx"), 4);
  EXPECT_EQ(FindDocIndex(list, "/docs/z.lvx"), 0);
  EXPECT_EQ(FindDocIndex(list, ""), 0);  // entry 0 is never a document
}

}  // namespace
}  // namespace lvx
