// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>

#include "check_file.h"
#include "file_lookup.h"
#include "line_reader.h"
#include "temp_dir.h"

namespace lvx {
namespace {

using testing::TempDir;

std::vector<std::string> Lines(const std::string& path) {
  LineReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  EXPECT_TRUE(reader.AtEnd());
  return lines;
}

TEST(LineReader, LinesEndAtCrLfOrCrButNotAtLf) {
  TempDir dir;
  using V = std::vector<std::string>;
  EXPECT_EQ(Lines(dir.Write("a", "A\r\nB\rC")), (V{"A", "B", "C"}));
  EXPECT_EQ(Lines(dir.Write("b", "A\nB\nC\n")), (V{"A\nB\nC\n"}));
  EXPECT_EQ(Lines(dir.Write("c", "A\r\n\r\n")), (V{"A", ""}));
  EXPECT_EQ(Lines(dir.Write("d", "A\r\r\n")), (V{"A", ""}));
  EXPECT_EQ(Lines(dir.Write("e", "")), (V{}));
  EXPECT_EQ(Lines(dir.Write("f", std::string("x\0y\r\n", 5))), (V{std::string("x\0y", 3)}));
}

TEST(LineReader, CrLfSplitAcrossTheBufferIsOneLineEnd) {
  TempDir dir;
  const std::string first(64 * 1024 - 1, 'a');
  const auto lines = Lines(dir.Write("split", first + "\r\nB"));
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "B");
}

TEST(LineReader, OffsetAndSeekReturnToALine) {
  TempDir dir;
  LineReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("s", "one\r\ntwo\r\nthree")));
  std::string line;
  reader.ReadLine(line);
  const auto second = reader.Offset();
  EXPECT_EQ(second, 5U);
  reader.ReadLine(line);
  reader.ReadLine(line);
  ASSERT_TRUE(reader.Seek(second));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "two");
}

TEST(LineReader, FailedReadKeepsTheLine) {
  TempDir dir;
  LineReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("one", "only")));
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_EQ(line, "only");
}

TEST(CheckFile, Results) {
  TempDir dir;
  const auto usable = dir.Write("doc.lvx", "*TEXT /T:x");
  EXPECT_EQ(CheckFile(usable), kCheckUsable);
  EXPECT_EQ(CheckFile(""), kCheckNoName);
  EXPECT_EQ(CheckFile("   "), kCheckNoName);
  EXPECT_EQ(CheckFile(dir.path() + "/missing.lvx"), kCheckMissing);
  EXPECT_EQ(CheckFile(dir.path()), kCheckMissing);    // a folder
  EXPECT_EQ(CheckFile(usable + "  "), kCheckUsable);  // trailing blanks are ignored
}

TEST(CheckFile, AnEmptyFileIsDeleted) {
  TempDir dir;
  const auto empty = dir.Write("empty.lvx", "");
  EXPECT_EQ(CheckFile(empty), kCheckMissing);
  EXPECT_FALSE(std::filesystem::exists(empty));
}

TEST(CheckFile, APipeCountsAsMissingAndDoesNotHang) {
  TempDir dir;
  const std::string fifo = dir.path() + "/pipe.lvx";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(CheckFile(fifo), kCheckMissing);
  LineReader reader;
  EXPECT_FALSE(reader.Open(fifo));
  EXPECT_TRUE(std::filesystem::exists(fifo));
}

TEST(FindFile, IgnoresTrailingBlanksAndLetterCase) {
  TempDir dir;
  const auto logo = dir.Write("Logo.BMP", "x");
  dir.Write("Forms/Page.lvx", "x");
  EXPECT_EQ(FindFile(logo), logo);
  EXPECT_EQ(FindFile(dir.path() + "/logo.bmp "), logo);
  EXPECT_EQ(FindFile(dir.path() + "//LOGO.bmp"), logo);
  EXPECT_EQ(FindFile(dir.path() + "/forms/page.LVX"), dir.path() + "/Forms/Page.lvx");
  EXPECT_EQ(FindFile(dir.path() + "/forms"), std::nullopt);  // folders are not files
  EXPECT_EQ(FindFile(dir.path() + "/nothing.bmp"), std::nullopt);
  EXPECT_EQ(FindFile("  "), std::nullopt);
}

TEST(FindFile, AnExactNameWinsOverOthersThatDifferInCase) {
  TempDir dir;
  dir.Write("a.lvx", "lower");
  const auto upper = dir.Write("A.lvx", "upper");
  EXPECT_EQ(FindFile(upper), upper);
}

TEST(FileLookup, DocumentSeparators) {
  EXPECT_EQ(LocalSeparators("forms\\page.lvx"), "forms/page.lvx");
  EXPECT_TRUE(HasSeparator("a\\b"));
  EXPECT_TRUE(HasSeparator("a/b"));
  EXPECT_FALSE(HasSeparator("logo.bmp"));
}

}  // namespace
}  // namespace lvx
