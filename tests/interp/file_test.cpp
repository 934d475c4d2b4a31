// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

#include <algorithm>
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
  EXPECT_EQ(Lines(dir.Write("b", "A\r\nB\nC\n")), (V{"A", "B\nC\n"}));
  EXPECT_EQ(Lines(dir.Write("c", "A\r\n\r\n")), (V{"A", ""}));
  EXPECT_EQ(Lines(dir.Write("d", "A\r\r\n")), (V{"A", ""}));
  EXPECT_EQ(Lines(dir.Write("e", "")), (V{}));
  EXPECT_EQ(Lines(dir.Write("f", std::string("x\0y\r\n", 5))), (V{std::string("x\0y", 3)}));
}

// A file whose first LF comes before any CR was written the Linux way: LF
// ends its lines too. A file that shows a CR first keeps LF inside lines.
TEST(LineReader, TheFirstLineEndDecidesWhetherLfEndsLines) {
  TempDir dir;
  using V = std::vector<std::string>;
  const struct {
    const char* name;
    std::string text;
    V lines;
  } cases[] = {
      {"lf", "A\nB\nC\n", {"A", "B", "C"}},
      {"lf-no-last-end", "A\nB", {"A", "B"}},
      {"lf-empty-lines", "\nA\n\nB\n", {"", "A", "", "B"}},
      {"lf-then-crlf", "A\nB\r\nC\rD", {"A", "B", "C", "D"}},
      {"lf-cr-before-lf-dropped", "A\nB\r\n\r\n", {"A", "B", ""}},
      {"lf-lone-cr-still-ends", "A\nB\rC", {"A", "B", "C"}},
      {"crlf-first", "A\r\nB\nC\r\n", {"A", "B\nC"}},
      {"cr-first", "A\rB\nC", {"A", "B\nC"}},
      {"cr-in-first-line", "A\rB\nC\rD\n", {"A", "B\nC", "D\n"}},
      {"no-line-end", "A", {"A"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lines(dir.Write(c.name, c.text)), c.lines) << c.name;
  }
}

TEST(LineReader, FirstLfBeyondTheFirstBufferStillDecides) {
  TempDir dir;
  const std::string first(70000, 'a');
  const auto lines = Lines(dir.Write("long", first + "\nB\nC\r\nD"));
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[1], "B");
  EXPECT_EQ(lines[2], "C");
  EXPECT_EQ(lines[3], "D");
}

TEST(LineReader, ManyLoneCrsAfterAnLfLineAreLinesEach) {
  TempDir dir;
  const auto lines = Lines(dir.Write("crs", "A\n" + std::string(200000, '\r') + "\nZ"));
  ASSERT_EQ(lines.size(), 200002U);
  EXPECT_EQ(lines.front(), "A");
  EXPECT_EQ(lines[200000], "");
  EXPECT_EQ(lines.back(), "Z");
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

TEST(LineReader, SeekKeepsTheWayTheFileEndsLines) {
  TempDir dir;
  LineReader reader;
  ASSERT_TRUE(reader.Open(dir.Write("s", "one\ntwo\nthree")));
  std::string line;
  reader.ReadLine(line);
  const auto second = reader.Offset();
  EXPECT_EQ(second, 4U);
  while (reader.ReadLine(line)) {
  }
  ASSERT_TRUE(reader.Seek(second));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "two");
  ASSERT_TRUE(reader.Seek(0));
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "one");
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

// Text that ends where this process's memory has a hole: read through
// /proc/self/mem from Offset(), it gives the text and then a read error, as
// a disk does that fails in the middle of a file.
class TextBeforeAHole {
 public:
  explicit TextBeforeAHole(std::string_view text)
      : page_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {
    void* base =
        ::mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) throw std::runtime_error("no memory for the test");
    base_ = static_cast<char*>(base);
    ::munmap(base_ + page_, page_);
    text_ = base_ + page_ - text.size();
    std::memcpy(text_, text.data(), text.size());
  }
  ~TextBeforeAHole() { ::munmap(base_, page_); }
  TextBeforeAHole(const TextBeforeAHole&) = delete;
  TextBeforeAHole& operator=(const TextBeforeAHole&) = delete;

  std::uint64_t Offset() const { return reinterpret_cast<std::uintptr_t>(text_); }

 private:
  std::size_t page_;
  char* base_ = nullptr;
  char* text_ = nullptr;
};

TEST(LineReader, AFailedReadEndsTheFileForGoodAndSaysSo) {
  const TextBeforeAHole memory("one\r\ntwo\r\nthr");
  LineReader reader;
  ASSERT_TRUE(reader.Open("/proc/self/mem"));
  ASSERT_TRUE(reader.Seek(memory.Offset()));
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  // The line the failure cut short still comes, for the caller to drop.
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "thr"}));
  EXPECT_TRUE(reader.Failed());
  EXPECT_TRUE(reader.AtEnd());
  // Going back does not read past the gap as if nothing had happened.
  ASSERT_TRUE(reader.Seek(memory.Offset()));
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_TRUE(reader.Failed());
  // A fresh start forgets the failure.
  TempDir dir;
  ASSERT_TRUE(reader.Open(dir.Write("ok", "fine")));
  EXPECT_FALSE(reader.Failed());
  EXPECT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "fine");
  EXPECT_FALSE(reader.ReadLine(line));
  EXPECT_FALSE(reader.Failed()) << "the end of a file is no failure";
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

// The file read is the file checked: what takes its name afterwards, a pipe
// that would block or another file, is never seen.
TEST(CheckFile, TheOpenedFileIsTheOneChecked) {
  TempDir dir;
  const std::string path = dir.Write("lvxview.ini", "ROLLDIR=1");
  int fd = -1;
  ASSERT_EQ(CheckAndOpenFile(path, fd), kCheckUsable);
  ASSERT_GE(fd, 0);
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  char bytes[16] = {};
  EXPECT_EQ(::read(fd, bytes, sizeof bytes), 9);
  EXPECT_EQ(std::string(bytes), "ROLLDIR=1");
  ::close(fd);

  const std::string empty = dir.Write("empty.ini", "");
  for (const std::string& unusable : {path, empty, dir.path() + "/none", std::string("  ")}) {
    fd = 7;
    EXPECT_NE(CheckAndOpenFile(unusable, fd), kCheckUsable) << unusable;
    EXPECT_EQ(fd, -1) << unusable;
  }
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

TEST(FindFile, NamesDeeperThanTheCapAreMissing) {
  TempDir dir;
  const auto logo = dir.Write("logo.bmp", "x");
  const auto components = [](const std::string& path) {
    return static_cast<std::size_t>(std::count(path.begin(), path.end(), '/'));
  };
  // "./" adds a component that stays in the same folder.
  const auto deep = [&](std::size_t total) {
    std::string path = dir.path() + "/";
    while (components(path) < total) path += "./";
    return path + "logo.bmp";
  };
  const struct {
    std::size_t components;
    bool found;
  } cases[] = {{kMaxNameComponents, true}, {kMaxNameComponents + 1, false}, {1000, false}};
  for (const auto& c : cases) {
    const std::string path = deep(c.components);
    EXPECT_EQ(FindFile(path).has_value(), c.found) << c.components;
    // Whether the name differs in case or not.
    std::string upper = path;
    upper.replace(upper.size() - 8, 8, "LOGO.BMP");
    EXPECT_EQ(FindFile(upper).has_value(), c.found) << c.components;
  }
}

// Folders that changed an hour ago, so that their listings are kept.
void Settle(const std::string& folder) {
  const timeval anHourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimes(folder.c_str(), anHourAgo), 0);
}

TEST(FolderListings, EachFolderIsReadOnceUntilItChanges) {
  TempDir dir;
  dir.Write("Forms/Logo.bmp", "x");
  Settle(dir.path());
  Settle(dir.path() + "/Forms");
  FolderListings listings;
  const struct {
    const char* name;
    const char* found;  // beside the folder; empty when missing
  } lookups[] = {{"/FORMS/LOGO.BMP", "/Forms/Logo.bmp"},
                 {"/forms/logo.bmp", "/Forms/Logo.bmp"},
                 {"/Forms/LOGO.bmp", "/Forms/Logo.bmp"},
                 {"/forms/other.bmp", ""}};
  for (int round = 0; round < 3; ++round) {
    for (const auto& l : lookups) {
      const auto found = FindFile(dir.path() + l.name, &listings);
      EXPECT_EQ(found.value_or(""), *l.found ? dir.path() + l.found : "") << l.name;
    }
  }
  // The folder and the one that holds it, read once for all the rounds.
  EXPECT_EQ(listings.folderReads(), 2U);
  // A file that comes later changes its folder, which is read again; a
  // folder that just changed is read at each look-up.
  dir.Write("Forms/Other.bmp", "x");
  for (int round = 1; round <= 2; ++round) {
    EXPECT_EQ(FindFile(dir.path() + "/forms/other.bmp", &listings),
              dir.path() + "/Forms/Other.bmp");
    EXPECT_EQ(listings.folderReads(), 2U + round);
  }
}

TEST(FolderListings, WalksPastThePagesAllowanceFindOnlyExactNames) {
  TempDir dir;
  const auto logo = dir.Write("logo.bmp", "x");
  FolderListings listings;
  for (std::size_t i = 0; i < FolderListings::kWalksPerPage; ++i) {
    // Missing names cost a walk as found ones do.
    FindFile(dir.path() + (i % 2 == 0 ? "/LOGO.BMP" : "/missing.bmp"), &listings);
  }
  EXPECT_EQ(FindFile(dir.path() + "/LOGO.BMP", &listings), std::nullopt);
  EXPECT_EQ(FindFile(logo, &listings), logo);
  std::string found;
  EXPECT_EQ(CheckFile(dir.path() + "/Logo.bmp", found, &listings), kCheckMissing);
  listings.RenewAllowance();
  EXPECT_EQ(FindFile(dir.path() + "/LOGO.BMP", &listings), logo);
}

TEST(FileLookup, DocumentSeparators) {
  EXPECT_EQ(LocalSeparators("forms\\page.lvx"), "forms/page.lvx");
  EXPECT_TRUE(HasSeparator("a\\b"));
  EXPECT_TRUE(HasSeparator("a/b"));
  EXPECT_FALSE(HasSeparator("logo.bmp"));
}

}  // namespace
}  // namespace lvx
