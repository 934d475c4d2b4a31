// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "printer_settings.h"
#include "tail_keys.h"
#include "temp_dir.h"

namespace lvx {
namespace {

using testing::TempDir;

constexpr std::string_view kDefault = "Default Laser";

TEST(ParsePrinterSettings, CopiesAreBoundedByEachProgramsRule) {
  const struct {
    const char* file;
    int batch;
    int picker;
  } rows[] = {
      {"", 1, 1},
      {"COPIES=7\r\n", 7, 7},
      {"COPIES=150\r\n", 1, 29},
      {"COPIES=99\r\n", 99, 29},
      {"COPIES=100\r\n", 1, 29},
      {"COPIES=29\r\n", 29, 29},
      {"COPIES=30\r\n", 30, 29},
      {"COPIES=0\r\n", 1, 1},
      {"COPIES=-3\r\n", 1, 1},
      {"COPIES=abc\r\n", 1, 1},
      {"COPIES=\r\n", 1, 1},
      {"COPIES=2.5\r\n", 2, 2},
      {"COPIES=3.5\r\n", 4, 4},
      {"COPIES= 1 2 \r\n", 12, 12},
      {"COPIES=4 copies\r\n", 4, 4},
      {"COPIES=&H0A\r\n", 10, 10},
      // Beyond 16 bits: out of range on its side; beyond a float: no number.
      {"COPIES=70000\r\n", 1, 29},
      {"COPIES=-70000\r\n", 1, 1},
      {"COPIES=1e39\r\n", 1, 1},
  };
  for (const auto& row : rows) {
    const auto batch = ParsePrinterSettings(row.file, CopiesBound::kBatchPrinter, kDefault);
    const auto picker = ParsePrinterSettings(row.file, CopiesBound::kPicker, kDefault);
    EXPECT_EQ(batch.copies, row.batch) << row.file;
    EXPECT_EQ(batch.copiesText, std::to_string(row.batch)) << row.file;
    EXPECT_EQ(picker.copies, row.picker) << row.file;
    EXPECT_EQ(picker.copiesText, std::to_string(row.picker)) << row.file;
  }
}

TEST(ParsePrinterSettings, PrinterNameRunsToTheLineEndAsStored) {
  const struct {
    std::string_view file;
    std::string_view printer;
  } rows[] = {
      {"", kDefault},
      {"PRINTER=Laser\r\n", "Laser"},
      {"Printer=Laser\r\n", "Laser"},
      {"pRiNtEr=laser\r\n", "laser"},
      {"XPRINTER=Laser\r\n", "Laser"},
      {"# PRINTER=Laser\r\n", "Laser"},
      {"PRINTER= Laser\r\n", " Laser"},
      {"PRINTER=Laser  \r\n", "Laser  "},
      {"PRINTER=\r\n", kDefault},
      {"PRINTER= \r\n", kDefault},
      {"PRINTER=  \r\n", "  "},
      {"PRINTER=Las\rer\r\n", "Laser"},
      {"PRINTER=Stampante \xE0 \x80\r\n", "Stampante \xE0 \x80"},
      {"PRINTER=A\r\nPRINTER=B\r\n", "B"},
      {"PRINTER=A\r\nPRINTER=\r\n", kDefault},
      {"PRINTER=A=B\r\n", "A=B"},
      {"[LvxPick]\r\n  \r\nPrinter=Laser\r\nCopies=2\r\n \r\n", "Laser"},
  };
  for (const auto& row : rows) {
    for (const auto bound : {CopiesBound::kBatchPrinter, CopiesBound::kPicker}) {
      EXPECT_EQ(ParsePrinterSettings(row.file, bound, kDefault).printerName, row.printer)
          << row.file;
    }
  }
}

TEST(ParsePrinterSettings, BothKeysOnOneLineEachTakeTheRest) {
  const auto settings =
      ParsePrinterSettings("PRINTER=A COPIES=3\r\n", CopiesBound::kPicker, kDefault);
  EXPECT_EQ(settings.printerName, "A COPIES=3");
  EXPECT_EQ(settings.copies, 3);
}

TEST(ParsePrinterSettings, OnlyLineFeedsEndLines) {
  // A lone CR ends no line: the two keys share one, and both read on.
  const auto settings =
      ParsePrinterSettings("PRINTER=A\rCOPIES=3\r\n", CopiesBound::kPicker, kDefault);
  EXPECT_EQ(settings.printerName, "ACOPIES=3");
  EXPECT_EQ(settings.copies, 3);
}

TEST(ParsePrinterSettings, LineEndsDoNotChangeTheResult) {
  const char* const files[] = {
      "PRINTER=Laser\r\nCOPIES=2\r\n",
      "PRINTER=Laser\nCOPIES=2\n",
      "PRINTER=Laser\r\nCOPIES=2",
      "PRINTER=Laser\nCOPIES=2\r",
  };
  for (const char* file : files) {
    const auto settings = ParsePrinterSettings(file, CopiesBound::kBatchPrinter, kDefault);
    EXPECT_EQ(settings.printerName, "Laser") << file;
    EXPECT_EQ(settings.copies, 2) << file;
  }
}

TEST(ParsePrinterSettings, WithoutADefaultPrinterTheNameStaysEmpty) {
  EXPECT_EQ(ParsePrinterSettings("COPIES=2", CopiesBound::kPicker, "").printerName, "");
}

TEST(ReadPrinterSettings, AMissingFileIsCreatedEmpty) {
  const TempDir dir;
  const std::string path = PrinterSettingsPath(dir.path());
  const auto settings = ReadPrinterSettings(path, CopiesBound::kBatchPrinter, kDefault);
  EXPECT_EQ(settings.printerName, kDefault);
  EXPECT_EQ(settings.copies, 1);
  ASSERT_TRUE(std::filesystem::is_regular_file(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0U);
}

TEST(ReadPrinterSettings, TheNameIsFoundIgnoringLetterCase) {
  const TempDir dir;
  dir.Write("LvxPrint.INI", "PRINTER=Laser\r\nCOPIES=5\r\n");
  const auto settings =
      ReadPrinterSettings(PrinterSettingsPath(dir.path()), CopiesBound::kPicker, kDefault);
  EXPECT_EQ(settings.printerName, "Laser");
  EXPECT_EQ(settings.copies, 5);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "/lvxprint.ini"));
}

TEST(ReadPrinterSettings, WhatIsNoRegularFileReadsAsEmpty) {
  const TempDir dir;
  std::filesystem::create_directory(dir.path() + "/folder");
  std::filesystem::create_directory(dir.path() + "/folder/lvxprint.ini");
  ASSERT_EQ(::mkfifo((dir.path() + "/lvxprint.ini").c_str(), 0600), 0);
  const std::string notAFolder = dir.Write("file", "x");
  for (const std::string& folder : {dir.path(), dir.path() + "/folder", notAFolder}) {
    const auto settings =
        ReadPrinterSettings(PrinterSettingsPath(folder), CopiesBound::kPicker, kDefault);
    EXPECT_EQ(settings.printerName, kDefault) << folder;
    EXPECT_EQ(settings.copies, 1) << folder;
  }
}

TEST(PrinterSettingsFilesFor, AFolderOfItsOwnElseTheUsersFileFirst) {
  const struct {
    ProgramFolders folders;
    PrinterSettingsFiles files;
  } rows[] = {
      {{"/opt/lvx", false, "/opt/lvx", "/opt/lvx"}, {"/opt/lvx/lvxprint.ini", "", true}},
      {{"/usr/lib/lvx", true, "/home/ada/.config/lvx", "/run/user/1000/lvx"},
       {"/home/ada/.config/lvx/lvxprint.ini", "/usr/lib/lvx/lvxprint.ini", false}},
      // Shared, but the user has no folder: the program folder's file, never made.
      {{"/usr/lib/lvx", true, "/usr/lib/lvx", "/usr/lib/lvx"},
       {"/usr/lib/lvx/lvxprint.ini", "", false}},
  };
  for (const auto& row : rows) {
    const PrinterSettingsFiles files = PrinterSettingsFilesFor(row.folders);
    EXPECT_EQ(files.path, row.files.path);
    EXPECT_EQ(files.fallback, row.files.fallback);
    EXPECT_EQ(files.createMissing, row.files.createMissing);
  }
}

// A shared program folder "app" and a user's settings folder "user".
struct SharedFiles {
  const TempDir dir;
  const PrinterSettingsFiles files{dir.path() + "/user/lvxprint.ini",
                                   dir.path() + "/app/lvxprint.ini", false};
  PrinterSettings Read() const {
    return ReadPrinterSettings(files, CopiesBound::kPicker, kDefault);
  }
};

TEST(ReadPrinterSettings, TheUsersFileComesBeforeTheProgramFolders) {
  const SharedFiles shared;
  shared.dir.Write("app/lvxprint.ini", "PRINTER=Laser\r\nCOPIES=2\r\n");
  EXPECT_EQ(shared.Read().printerName, "Laser");
  EXPECT_EQ(shared.Read().copies, 2);
  // The user's file counts whole, even where it leaves a key out.
  shared.dir.Write("user/LVXPRINT.INI", "PRINTER=Photo\r\n");
  EXPECT_EQ(shared.Read().printerName, "Photo");
  EXPECT_EQ(shared.Read().copies, 1);
}

TEST(ReadPrinterSettings, NothingIsCreatedForTheUsersOfASharedFolder) {
  const SharedFiles shared;
  std::filesystem::create_directory(shared.dir.path() + "/app");
  const auto settings = shared.Read();
  EXPECT_EQ(settings.printerName, kDefault);
  EXPECT_EQ(settings.copies, 1);
  EXPECT_TRUE(std::filesystem::is_empty(shared.dir.path() + "/app"));
  EXPECT_FALSE(std::filesystem::exists(shared.dir.path() + "/user"));
}

// Every line is read, however many; of an overlong line only its first
// kKeptLineBytes count, so the value is cut there.
TEST(ReadPrinterSettings, ALongFileIsReadWhole) {
  const TempDir dir;
  const std::string printer(200000, 'P');
  dir.Write("lvxprint.ini", std::string(100000, '\n') + "PRINTER=" + printer + "\nCOPIES=3");
  const auto settings =
      ReadPrinterSettings(PrinterSettingsPath(dir.path()), CopiesBound::kPicker, kDefault);
  EXPECT_EQ(settings.printerName, printer.substr(0, kKeptLineBytes - 8));
  EXPECT_EQ(settings.copies, 3);
}

TEST(ParsePrinterSettings, OnlyTheStartOfAnOverlongLineCounts) {
  const std::string fill(kKeptLineBytes, 'x');
  const std::string nuls(3 * kKeptLineBytes, '\0');
  const struct {
    std::string file;
    std::string printer;
    int copies;
  } rows[] = {
      // A key beyond the cut is not seen; one across it neither.
      {fill + "PRINTER=Far\nCOPIES=2", std::string(kDefault), 2},
      {fill.substr(4) + "PRINTER=Near\nCOPIES=2", std::string(kDefault), 2},
      {fill.substr(8) + "PRINTER=\n", std::string(kDefault), 1},
      // The value stops at the cut; the next line is read as always.
      {"PRINTER=" + nuls + "\r\nCOPIES=4", nuls.substr(0, kKeptLineBytes - 8), 4},
      {"COPIES=5" + nuls + "PRINTER=Lost\n", std::string(kDefault), 5},
      // A line of exactly the kept size keeps its last byte.
      {fill.substr(11) + "PRINTER=abc\n", "abc", 1},
  };
  for (const auto& row : rows) {
    const auto settings = ParsePrinterSettings(row.file, CopiesBound::kBatchPrinter, kDefault);
    EXPECT_EQ(settings.printerName, row.printer) << row.file.size();
    EXPECT_EQ(settings.copies, row.copies) << row.file.size();
  }
}

}  // namespace
}  // namespace lvx
