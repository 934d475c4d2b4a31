// SPDX-License-Identifier: GPL-3.0-or-later
#include "scanner.h"

#include <gtest/gtest.h>

#include "cp1252.h"
#include "scan_error.h"

namespace lvx {
namespace {

struct CutRow {
  const char* line;
  const char* key;
  std::optional<std::string> value;
};

TEST(RecordScanner, CutValueStopsAtNextSlashAndKeepsBlanks) {
  const CutRow rows[] = {
      {"*BOX /X:10/Y:20", "/X:", "10"},
      {"*BOX /X:10/Y:20", "/Y:", "20"},
      {"*BOX /X: 12.5 /Y:7", "/X:", " 12.5 "},
      {"*BOX /Y:7 /X:", "/X:", ""},
      {"*BOX /Y:7 /X:/W:3", "/X:", ""},
      {"*BOX /Y:7", "/X:", std::nullopt},
      {"*box /x:10 /y:20", "/X:", "10 "},
      {"*BOX /X:10 /X:20", "/X:", "10 "},
      {"*IMAGE /N:Logo.BMP /X:10", "/N:", "Logo.BMP "},
  };
  for (const auto& row : rows) {
    RecordScanner scanner;
    scanner.SetRecord(row.line);
    EXPECT_EQ(scanner.CutValue(row.key), row.value) << row.line << " " << row.key;
  }
}

TEST(RecordScanner, CutRestRunsToTheEndOfTheLine) {
  RecordScanner scanner;
  const std::string line = "*TEXT /X:20 /T:Total: 12/2009 /x:1";
  scanner.SetRecord(line);
  EXPECT_EQ(scanner.CutRest("/T:"), "Total: 12/2009 /x:1");
  EXPECT_EQ(scanner.ScanEnd(), static_cast<int>(line.size()) + 1);
  EXPECT_EQ(scanner.CutRest("/Q:"), std::nullopt);
}

TEST(RecordScanner, PositionsAreOneBasedAndKeptInScanPosAndScanEnd) {
  RecordScanner scanner;
  scanner.SetRecord("*BOX /X:10/Y:20");
  EXPECT_EQ(scanner.FindKey("*BOX"), 1);
  EXPECT_EQ(scanner.FindKey("/Y:"), 11);
  ASSERT_TRUE(scanner.CutValue("/X:"));
  EXPECT_EQ(scanner.ScanPos(), 9);
  EXPECT_EQ(scanner.ScanEnd(), 11);
  EXPECT_EQ(scanner.FindKey("/W:"), 0);
  EXPECT_EQ(scanner.ScanPos(), 0);
}

TEST(RecordScanner, FindKeyGivesTheFirstOccurrenceOfAnyKey) {
  struct Row {
    const char* line;
    const char* key;
    int position;
  };
  const Row rows[] = {
      {"*BOX /XY /X:5", "/X:", 10},  // the first "/" is no "/X:"
      {"*BOX /X", "/X:", 0},         // cut short at the end
      {"/", "/PAGE", 0},
      {"**TEXT", "*TEXT", 2},
      {"a#EOD#EOD", "#EOD", 2},
      {"*TEXT /T:a*b", "*", 1},   // a one-character key
      {"*TEXT /T:ab", "T:A", 8},  // keys need not start with a mark
      {"*TEXT /T:ab", "", 1},
      {"x*page", "*PAGE", 2},
      {"*TEXT /T:/ /T:", "/T:", 7},
  };
  for (const Row& row : rows) {
    RecordScanner scanner;
    scanner.SetRecord(row.line);
    EXPECT_EQ(scanner.FindKey(row.key), row.position) << row.line << " " << row.key;
  }
  // A record replaces the last one whole, marks included.
  RecordScanner scanner;
  scanner.SetRecord("*BOX /X:1 /Y:2 #EOD");
  scanner.SetRecord("/Y:");
  EXPECT_EQ(scanner.FindKey("/X:"), 0);
  EXPECT_EQ(scanner.FindKey("#EOD"), 0);
  EXPECT_EQ(scanner.FindKey("/Y:"), 1);
}

TEST(RecordScanner, FlagsAreSubstringsInAnyCase) {
  RecordScanner scanner;
  scanner.SetRecord("*font /n:Arial /t:x");
  EXPECT_TRUE(scanner.HasFlag("/T"));  // found as the start of "/T:"
  EXPECT_FALSE(scanner.HasFlag("/B"));
}

TEST(RecordScanner, ValuesKeepTheirCaseAndAccentedLettersMatchUpperCase) {
  RecordScanner scanner;
  scanner.SetRecord("*text /t:caff\xE8 \xE0 la carte");
  EXPECT_EQ(scanner.CurrentRecordUp(), "*TEXT /T:CAFF\xC8 \xC0 LA CARTE");
  EXPECT_EQ(scanner.CutRest("/T:"), "caff\xE8 \xE0 la carte");
}

TEST(Cp1252, UpperCaseFollowsTheCodePage) {
  EXPECT_EQ(UpperCase1252("\x9A\x9C\x9E\xFF\xF7\xDF\xB5"), "\x8A\x8C\x8E\x9F\xF7\xDF\xB5");
  EXPECT_EQ(Utf8From1252("\x80 \xE8"), "\xE2\x82\xAC \xC3\xA8");
}

// The 16-bit position rules: a key found beyond 32,767, a value key at
// 32,765 or beyond, a value running to the end of a line of 32,767 or more.
TEST(RecordScanner, PositionLimits) {
  RecordScanner scanner;
  const std::string pad(32763, ' ');  // a key after it starts at 32,764

  scanner.SetRecord(pad + "/X:");
  EXPECT_EQ(scanner.CutValue("/X:"), "");  // value starts at 32,767 and ends the line
  scanner.SetRecord(pad + "/X:5");
  EXPECT_THROW(scanner.CutValue("/X:"), ScanError);  // its end lies at 32,768

  scanner.SetRecord(pad + " /X:5/");
  EXPECT_THROW(scanner.CutValue("/X:"), ScanError);  // key at 32,765
  EXPECT_EQ(scanner.FindKey("/X:"), 32765);          // the key alone fits

  scanner.SetRecord(std::string(32767, ' ') + "/X:");
  EXPECT_THROW(scanner.FindKey("/X:"), ScanError);  // key at 32,768
  EXPECT_EQ(scanner.FindKey("/Y:"), 0);             // absent keys still answer

  scanner.SetRecord("/X:1" + std::string(32762, ' '));  // 32,766 long
  EXPECT_TRUE(scanner.CutValue("/X:"));
  scanner.SetRecord("/X:1" + std::string(32763, ' '));  // 32,767 long
  EXPECT_THROW(scanner.CutValue("/X:"), ScanError);
  EXPECT_THROW(scanner.CutRest("/X:"), ScanError);
  scanner.SetRecord("/X:1/" + std::string(40000, ' '));  // value ends before the limit
  EXPECT_EQ(scanner.CutValue("/X:"), "1");
}

}  // namespace
}  // namespace lvx
