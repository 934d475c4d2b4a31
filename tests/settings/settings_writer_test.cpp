// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "file_size_limit.h"
#include "printer_settings.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::Listing;
using testing::ReadAll;
using testing::TempDir;

TEST(PrinterSettingsText, FiveLinesWithCrLf) {
  EXPECT_EQ(PrinterSettingsText("Laser", "2"),
            "[LvxPick FERRO LUMEN srl t.vardel ]\r\n  \r\nPrinter=Laser\r\nCopies=2\r\n \r\n");
  EXPECT_EQ(
      PrinterSettingsText(" My Laser ", "40x"),
      "[LvxPick FERRO LUMEN srl t.vardel ]\r\n  \r\nPrinter= My Laser \r\nCopies=40x\r\n \r\n");
}

TEST(WritePrinterSettings, ReadsBackUnderBothRules) {
  const struct {
    const char* printer;
    const char* copies;
    const char* readPrinter;
    int batch;
    int picker;
  } rows[] = {
      {"Laser", "2", "Laser", 2, 2},     {"Laser", "40", "Laser", 40, 29},
      {" Laser", "abc", " Laser", 1, 1}, {" ", "", "Default", 1, 1},
      {"", "150", "Default", 1, 29},     {"Ufficio \xE0", "3.5", "Ufficio \xE0", 4, 4},
  };
  for (const auto& row : rows) {
    const TempDir dir;
    const std::string path = PrinterSettingsPath(dir.path());
    ASSERT_TRUE(WritePrinterSettings(path, row.printer, row.copies).ok);
    EXPECT_EQ(ReadAll(path), PrinterSettingsText(row.printer, row.copies));
    const auto batch = ReadPrinterSettings(path, CopiesBound::kBatchPrinter, "Default");
    const auto picker = ReadPrinterSettings(path, CopiesBound::kPicker, "Default");
    EXPECT_EQ(batch.printerName, row.readPrinter) << row.printer;
    EXPECT_EQ(picker.printerName, row.readPrinter) << row.printer;
    EXPECT_EQ(batch.copies, row.batch) << row.copies;
    EXPECT_EQ(picker.copies, row.picker) << row.copies;
  }
}

TEST(WritePrinterSettings, ReplacesTheOldFileAndLeavesNothingElse) {
  const TempDir dir;
  const std::string path = dir.Write("lvxprint.ini", std::string(5000, 'x'));
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WritePrinterSettings(path, "Laser", "2").ok);
  EXPECT_EQ(ReadAll(path), PrinterSettingsText("Laser", "2"));
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"lvxprint.ini"});
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WritePrinterSettings, ReplacesTheFileTheReadersFind) {
  const TempDir dir;
  dir.Write("LVXPRINT.INI", "PRINTER=Old\r\n");
  dir.Write("real.ini", "PRINTER=Old\r\n");
  fs::create_directory(dir.path() + "/linked");
  fs::create_symlink(dir.path() + "/real.ini", dir.path() + "/linked/lvxprint.ini");

  ASSERT_TRUE(WritePrinterSettings(PrinterSettingsPath(dir.path()), "Laser", "2").ok);
  EXPECT_EQ(ReadAll(dir.path() + "/LVXPRINT.INI"), PrinterSettingsText("Laser", "2"));
  EXPECT_FALSE(fs::exists(dir.path() + "/lvxprint.ini"));

  ASSERT_TRUE(WritePrinterSettings(dir.path() + "/linked/lvxprint.ini", "Ink", "3").ok);
  EXPECT_TRUE(fs::is_symlink(dir.path() + "/linked/lvxprint.ini"));
  EXPECT_EQ(ReadAll(dir.path() + "/real.ini"), PrinterSettingsText("Ink", "3"));
}

// Tests may run as root, for whom a read-only folder is still writable. The
// failure is made in a way no user gets past: a file size limit stops the
// write, or the settings' folder is a regular file.
TEST(WritePrinterSettings, AFailureIsReportedAndKeepsTheOldFile) {
  const TempDir dir;
  const std::string old = "PRINTER=Old\r\nCOPIES=4\r\n";
  const std::string path = dir.Write("lvxprint.ini", old);

  SettingsWriteResult written;
  {
    const testing::FileSizeLimit full(10);
    written = WritePrinterSettings(path, "Laser", "2");
  }
  EXPECT_FALSE(written.ok);
  EXPECT_FALSE(written.error.empty());
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"lvxprint.ini"});

  const std::string notAFolder = dir.Write("plain", "x");
  const SettingsWriteResult nowhere =
      WritePrinterSettings(PrinterSettingsPath(notAFolder), "Laser", "2");
  EXPECT_FALSE(nowhere.ok);
  EXPECT_FALSE(nowhere.error.empty());
  EXPECT_EQ(ReadAll(notAFolder), "x");
}

// A pipe planted where a temporary file might go must not freeze the
// picker, and no pipe, device or link in the file's own place is replaced.
TEST(WritePrinterSettings, PlantedPipesAndLinksAreNeitherOpenedNorReplaced) {
  const TempDir dir;
  const std::string path = PrinterSettingsPath(dir.path());
  ASSERT_EQ(::mkfifo((path + "." + std::to_string(::getpid()) + ".tmp").c_str(), 0644), 0);
  ASSERT_TRUE(WritePrinterSettings(path, "Laser", "2").ok);
  EXPECT_EQ(ReadAll(path), PrinterSettingsText("Laser", "2"));

  const struct {
    const char* what;
    std::function<void()> make;
  } rows[] = {
      {"pipe", [&] { ::mkfifo(path.c_str(), 0644); }},
      {"link to a device", [&] { fs::create_symlink("/dev/null", path); }},
      {"dangling link", [&] { fs::create_symlink(dir.path() + "/nowhere", path); }},
  };
  for (const auto& row : rows) {
    fs::remove(path);
    row.make();
    const auto type = fs::symlink_status(path).type();
    const SettingsWriteResult written = WritePrinterSettings(path, "Laser", "3");
    EXPECT_FALSE(written.ok) << row.what;
    EXPECT_EQ(written.error, "not a regular file; left as it is") << row.what;
    EXPECT_EQ(fs::symlink_status(path).type(), type) << row.what;
    EXPECT_EQ(Listing(dir.path()).size(), 2U) << row.what;
  }
}

TEST(WritePrinterSettings, AFolderInTheFilesPlaceIsReportedAndKept) {
  const TempDir dir;
  fs::create_directory(dir.path() + "/lvxprint.ini");
  EXPECT_FALSE(WritePrinterSettings(PrinterSettingsPath(dir.path()), "Laser", "2").ok);
  EXPECT_TRUE(fs::is_directory(dir.path() + "/lvxprint.ini"));
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"lvxprint.ini"});
}

// A batch print may start while the picker saves: it must read the whole old
// or the whole new choice, never a file cut short. The names are as long as
// a settings line may be, so that each write takes many pages.
TEST(WritePrinterSettings, AReaderNeverSeesHalfAFile) {
  const TempDir dir;
  const std::string path = PrinterSettingsPath(dir.path());
  const std::string first(60000, 'A');
  const std::string second(60000, 'B');
  ASSERT_TRUE(WritePrinterSettings(path, first, "3").ok);

  std::atomic<bool> writing = true;
  std::atomic<int> failures = 0;
  std::thread writer([&] {
    for (int i = 0; i < 60; ++i) {
      if (!WritePrinterSettings(path, i % 2 ? first : second, i % 2 ? "3" : "7").ok) ++failures;
    }
    writing = false;
  });
  int reads = 0;
  int torn = 0;
  while (writing || reads == 0) {
    const auto settings = ReadPrinterSettings(path, CopiesBound::kBatchPrinter, "Default");
    const bool whole = (settings.printerName == first && settings.copies == 3) ||
                       (settings.printerName == second && settings.copies == 7);
    if (!whole) ++torn;
    ++reads;
  }
  writer.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"lvxprint.ini"});
}

}  // namespace
}  // namespace lvx
