// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are broken or hostile must give a page with less on it, never
// a crash or a hang.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <random>

#include "tail_keys.h"
#include "temp_dir.h"
#include "trace_run.h"

namespace lvx {
namespace {

TEST(HostileInput, BinaryJunkIsReadWithoutHarm) {
  testing::TempDir dir;
  std::mt19937 random(42);
  std::string junk(256 * 1024, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  // Sprinkle keywords so that the handlers see garbage options too.
  for (std::size_t at = 0; at + 40 < junk.size(); at += 997) {
    junk.replace(at, 30, "*BOX /X:\xff/Y:&H/W:1e38*TEXT /T:");
  }
  const auto trace = TracePages(dir.Write("junk.lvx", junk), 5);
  EXPECT_FALSE(trace.empty());
}

TEST(HostileInput, OverlongLinesEndOnlyTheirOwnRecord) {
  testing::TempDir dir;
  const std::string far(40000, ' ');
  const std::string doc =
      "*TEXT /X:1 /Y:1 /T:before\r\n"
      "*BOX" +
      far +
      "/X:5 /Y:5 /W:1 /H:1\r\n"  // "/X:" beyond 32,767
      "*TEXT /X:1 /Y:2 /T:" +
      far + "\r\n"  // text to a far line end
      + far +
      "*PAGE\r\n"  // keyword beyond the limit
      "*TEXT /D:1 /T:after\r\n";
  const std::vector<std::string> expected = {
      "page 1", "main Clear", "upper Clear", "lower Clear", "main MoveTo 0.5 0.5",
      "main PrintText \"before\"", "upper MoveTo 1 1", "upper PrintText \"before\"",
      // The box drew nothing; the long text took its position, then failed;
      // the far "*PAGE" ended nothing.
      "main MoveTo 0.5 1.5", "main PrintText \"after\"", "upper MoveTo 1 3",
      "upper PrintText \"after\""};
  EXPECT_EQ(TracePages(dir.Write("long.lvx", doc)), expected);
}

TEST(HostileInput, MergeOfAPipeOrADeviceDoesNotHang) {
  testing::TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() + "/pipe.lvx").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir.path() + "/zero.lvx").c_str()), 0);
  const auto doc = dir.Write("doc.lvx",
                             "*MERGE /N:pipe.lvx\r\n*MERGE /N:zero.lvx\r\n*MERGE /N:.\r\n"
                             "*PAGE /N:pipe.lvx\r\n*TEXT /X:1 /Y:1 /T:done\r\n");
  const auto trace = TracePages(doc);
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back(), "upper PrintText \"done\"");
}

TEST(HostileInput, AMergeThatNamesItsOwnDocumentDrawsItOnce) {
  testing::TempDir dir;
  const auto doc = dir.Write("self.lvx", "*TEXT /X:1 /Y:1 /T:x\r\n*MERGE /N:self.lvx\r\n");
  const auto trace = TracePages(doc);
  // Once read as the document and once as the merged file, which does not
  // merge again.
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "upper PrintText \"x\""), 2);
}

// A line longer than kKeptLineBytes keeps only its start; what lies beyond
// is remembered key by key. Past 32,767 every position overflows anyway, so
// a line cut that way must act exactly as a long line kept whole.
TEST(HostileInput, CutLinesActAsLongLinesKeptWhole) {
  testing::TempDir dir;
  const auto padded = [](const std::string& head, std::size_t length, const std::string& end) {
    return head + std::string(length - head.size() - end.size(), ' ') + end;
  };
  const std::string next = "*TEXT /X:1 /Y:1 /T:next\r\n";
  const std::vector<std::pair<std::string, std::string>> lines = {
      {"#EOD", "*"},                     // a far "*": no end mark
      {"#EOD", ""},                      // an end mark
      {"*TEXT /X:5 /Y:6 /T:a", ""},      // the text runs to a far line end
      {"*BOX /X:5 /Y:6 /W:1", ""},       // so does the width
      {"*BOX /X:5/Y:6/W:1/H:2/", "/F"},  // a far flag
      {"*BOX /X:5/Y:6/W:1/H:2/", "*PAGE"},
      {"", "*PAGE *MERGE /N:x.lvx"},  // far keywords act nowhere
      {"*MERGE /N:m.lvx/", "*PAGE"},
  };
  dir.Write("m.lvx", next);
  for (const auto& [head, end] : lines) {
    const auto whole = TracePages(dir.Write("whole.lvx", padded(head, 40000, end) + "\r\n" + next));
    const auto cut =
        TracePages(dir.Write("cut.lvx", padded(head, 3 * kKeptLineBytes, end) + "\r\n" + next));
    EXPECT_EQ(cut, whole) << head << "..." << end;
  }
}

TEST(HostileInput, AKeyStraddlingTheCutIsFoundFarOut) {
  testing::TempDir dir;
  // "/F" begins on the last kept byte; the box must fail as with a far "/F".
  const std::string head = "*BOX /X:5/Y:6/W:1/H:2/";
  std::string line = head + std::string(kKeptLineBytes - 1 - head.size(), ' ') + "/F";
  line += std::string(1000, ' ');
  const auto trace = TracePages(dir.Write("straddle.lvx", line + "\r\n"));
  EXPECT_EQ(std::count_if(
                trace.begin(), trace.end(),
                [](const std::string& call) { return call.find("DrawRect") != std::string::npos; }),
            0);
}

}  // namespace
}  // namespace lvx
