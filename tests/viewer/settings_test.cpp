// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "fake_platform.h"
#include "tail_keys.h"
#include "temp_dir.h"

namespace lvx {
namespace {

struct SettingsFixture {
  testing::TempDir dir;
  testing::FakePlatform platform;
  ViewerSettings settings;

  ViewerSettings& Read(const std::string& bytes) {
    settings.ReadSettings(dir.Write("lvxview.ini", bytes), platform);
    return settings;
  }
};

TEST(ReadSettings, NoFileLeavesEverythingOff) {
  SettingsFixture f;
  f.settings.ReadSettings(f.dir.path() + "/lvxview.ini", f.platform);
  EXPECT_EQ(f.settings.IniFound, 0);
  EXPECT_EQ(f.settings.RollDir, 0);
  EXPECT_EQ(f.settings.Platform, "");
  EXPECT_EQ(f.settings.FaxEnabled, 0);
  EXPECT_EQ(f.settings.PdfEnabled, 0);
  EXPECT_EQ(f.platform.questions, 0);
}

TEST(ReadSettings, EmptyFileIsDeletedAndCountsAsAbsent) {
  SettingsFixture f;
  const std::string path = f.dir.path() + "/lvxview.ini";
  f.Read("");
  EXPECT_EQ(f.settings.IniFound, 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(f.platform.questions, 0);
}

TEST(ReadSettings, RollDirFromTheFile) {
  struct Row {
    std::string bytes;
    std::string rollDirText;
    std::int16_t rollDir;
  };
  const std::vector<Row> rows = {
      {"rolldir=2\r\n", "2", 2},
      {"ROLLDIR=1", "1", 1},
      {"ROLLDIR= 1\n", " 1", 1},
      {"ROLLDIR=0.6\n", "0.6", 1},
      {"ROLLDIR=0.5\n", "0.5", 0},
      {"ROLLDIR=yes\n", "yes", 0},
      {"ROLLDIR=-3\n", "-3", 0},
      {"ROLLDIR=\n", "", 0},
      {"OLDROLLDIR=1\n", "1", 1},
      {"# viewer\nROLLDIR=1 ; on\nother=5\n", "1 ; on", 1},
      {"ROLLDIR=1\r\nROLLDIR=0\r\n", "0", 0},
      {"ROLLDIR=0\nx rollDir=3", "3", 3},
      {"something else\n", "", 0},
      // CR alone ends no line: the value runs to the end of the file, less its CRs.
      {"ROLLDIR=1\rX=2\r", "1X=2", 1},
      // Beyond 16 bits the sign decides.
      {"ROLLDIR=99999\n", "99999", 32767},
      {"ROLLDIR=1e400\n", "1e400", 32767},
      {"ROLLDIR=-99999\n", "-99999", 0},
      {"ROLLDIR=-1e400\n", "-1e400", 0},
  };
  for (const auto& row : rows) {
    SettingsFixture f;
    f.Read(row.bytes);
    EXPECT_EQ(f.settings.IniFound, 1) << row.bytes;
    EXPECT_EQ(f.settings.RollDirText, row.rollDirText) << row.bytes;
    EXPECT_EQ(f.settings.RollDir, row.rollDir) << row.bytes;
  }
}

TEST(ReadSettings, LongFileIsReadToItsEnd) {
  SettingsFixture f;
  f.Read(std::string(100000, 'x') + "\n" + std::string(9000, '\r') + "ROLLDIR=7");
  EXPECT_EQ(f.settings.RollDir, 7);
}

// Only the first kKeptLineBytes of a line count, as in documents.
TEST(ReadSettings, OnlyTheStartOfAnOverlongLineCounts) {
  const std::string fill(kKeptLineBytes, 'x');
  const struct {
    std::string bytes;
    std::string rollDirText;
  } rows[] = {
      {fill + "ROLLDIR=1\n", ""},
      {fill.substr(3) + "ROLLDIR=1\n", ""},
      {fill.substr(9) + "ROLLDIR=1\n", "1"},
      {fill.substr(9) + "ROLLDIR=12\nx", "1"},
      {"ROLLDIR=2" + std::string(3 * kKeptLineBytes, '\0'),
       "2" + std::string(kKeptLineBytes - 9, '\0')},
      {fill + fill + "\nROLLDIR=3", "3"},
  };
  for (const auto& row : rows) {
    SettingsFixture f;
    f.Read(row.bytes);
    EXPECT_EQ(f.settings.RollDirText, row.rollDirText) << row.bytes.size();
  }
}

// What stands in the file's place other than a regular file counts as no
// file, and is neither waited for nor read.
TEST(ReadSettings, AnythingButARegularFileCountsAsAbsent) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
  } rows[] = {
      {"pipe", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
      {"link to a device",
       [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); }},
      {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
  };
  for (const auto& row : rows) {
    SettingsFixture f;
    const std::string path = f.dir.path() + "/lvxview.ini";
    row.make(path);
    f.settings.ReadSettings(path, f.platform);
    EXPECT_EQ(f.settings.IniFound, 0) << row.what;
    EXPECT_EQ(f.platform.questions, 0) << row.what;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(path))) << row.what;
  }
}

TEST(ReadSettings, FoundFileDetectsThePlatform) {
  SettingsFixture f;
  f.platform.identity = {2, 5.01F, 2600, ","};
  f.platform.printers = {"fax", "Bullzip PDF Printer"};
  f.Read("ROLLDIR=0\n");
  EXPECT_EQ(f.settings.Platform, "XP");
  EXPECT_EQ(f.settings.FaxEnabled, 1);
  EXPECT_EQ(f.settings.PdfEnabled, 1);
}

TEST(RollDirFromText, RoundsHalfToEvenAndClamps) {
  const std::vector<std::pair<std::string, std::int16_t>> rows = {
      {"1", 1},         {"0.6", 1},
      {"0.5", 0},       {"1.5", 2},
      {"2.5", 2},       {"1,9", 1},
      {" 1 2 ", 12},    {"&H10", 16},
      {"32767", 32767}, {"32767.4", 32767},
      {"32768", 32767}, {"-32768", 0},
      {"-40000", 0},    {"&HFFFFFFFFFF", 32767},
      {"", 0},          {"abc", 0},
      {"-0.4", 0},
  };
  for (const auto& [text, rollDir] : rows) EXPECT_EQ(RollDirFromText(text), rollDir) << text;
}

}  // namespace
}  // namespace lvx
