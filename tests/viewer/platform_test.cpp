// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "fake_platform.h"
#include "platform_qt.h"
#include "settings.h"

namespace lvx {
namespace {

TEST(VersionText, WritesTheVersionTheLocaleWay) {
  struct Row {
    float version;
    std::string separator;
    std::string text;
  };
  const std::vector<Row> rows = {
      {5.01F, ",", "5,01"},
      {5.01F, ".", "5.01"},
      {4.1F, ",", "4,1"},
      {4.0F, ",", "4"},
      {6.0F, ",", "6"},
      {6.01F, ",", "6,01"},
      {4.9F, ",", "4,9"},
      {10.0F, ".", "10"},
      {6.18F, ",", "6,18"},
      {0.0F, ",", "0"},
      {5.01F, "\xD9\xAB",
       "5\xD9\xAB"
       "01"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(VersionText(row.version, row.separator), row.text) << row.version;
  }
}

TEST(PlatformLabel, LastTestThatHoldsDecides) {
  struct Row {
    int number;
    std::string version;
    std::string label;
  };
  const std::vector<Row> rows = {
      {0, "", "NONE"},       {0, "5,01", "NONE"},  {0, "4,1", "NONE"}, {0, "6", "NONE"},
      {1, "4", "W95/98"},    {1, "4,9", "W95/98"}, {1, "4,1", "W98"},  {1, "4.1", "W95/98"},
      {1, "5,01", "W95/98"}, {1, "6", "W95/98"},   {2, "6", "VISTA"},  {2, "6,01", "WIN7"},
      {2, "5,01", "XP"},     {2, "5", "W2K"},      {2, "5.01", "NT"},  {2, "6.01", "NT"},
      {2, "6,1", "NT"},      {2, "4,1", "NT"},     {2, "10", "NT"},    {2, "", "NT"},
      {3, "5,01", ""},       {-1, "", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PlatformLabel(row.number, row.version), row.label)
        << row.number << " " << row.version;
  }
}

TEST(DetectPlatformFrom, PrintersCountOnlyWhereTheLabelAllows) {
  struct Row {
    int number;
    std::string version;
    std::vector<std::string> printers;
    std::string label;
    std::int16_t fax;
    std::int16_t pdf;
  };
  const std::string bullzip = "Bullzip PDF Printer";
  const std::vector<Row> rows = {
      {2, "5,01", {"fax"}, "XP", 1, 0},
      {2, "5,01", {"Laser", "FAX", "bullzip pdf printer"}, "XP", 1, 1},
      {2, "5,01", {}, "XP", 0, 0},
      {2, "5,01", {"Fax2", "My Bullzip PDF Printer", "Fax "}, "XP", 0, 0},
      {2, "6,01", {"Fax"}, "WIN7", 0, 0},
      {2, "6,01", {bullzip}, "WIN7", 0, 1},
      {2, "6", {bullzip}, "VISTA", 0, 1},
      {2, "6", {}, "VISTA", 0, 0},
      {2, "5", {"BULLZIP PDF PRINTER", "Fax"}, "W2K", 0, 1},
      {2, "5.01", {"Fax", bullzip}, "NT", 0, 0},
      {1, "4,1", {"Fax", bullzip}, "W98", 0, 0},
      {1, "4", {"Fax", bullzip}, "W95/98", 0, 0},
      // This system: platform number 0.
      {0, "6,18", {"Fax", bullzip}, "NONE", 0, 0},
  };
  for (const auto& row : rows) {
    const PlatformResult result = DetectPlatformFrom(row.number, row.version, row.printers);
    EXPECT_EQ(result.Platform, row.label) << row.number << " " << row.version;
    EXPECT_EQ(result.FaxEnabled, row.fax) << row.label;
    EXPECT_EQ(result.PdfEnabled, row.pdf) << row.label;
  }
}

TEST(DetectPlatform, DecimalSeparatorOfTheLocaleDecides) {
  testing::FakePlatform platform;
  platform.printers = {"Fax"};
  ViewerSettings settings;
  platform.identity = {2, 5.01F, 2600, ","};
  settings.DetectPlatform(platform);
  EXPECT_EQ(settings.Platform, "XP");
  EXPECT_EQ(settings.FaxEnabled, 1);
  platform.identity = {2, 5.01F, 2600, "."};
  settings.DetectPlatform(platform);
  EXPECT_EQ(settings.Platform, "NT");
  EXPECT_EQ(settings.FaxEnabled, 0);
}

TEST(QtPlatformInfo, LinuxIsPlatformNone) {
  int argc = 1;
  char name[] = "viewer_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  const QtPlatformInfo platform;
  const PlatformIdentity identity = platform.Identity();
  EXPECT_EQ(identity.Number, 0);
  EXPECT_GT(identity.Version, 0.0F);
  EXPECT_FALSE(identity.DecimalSeparator.empty());
  ViewerSettings settings;
  settings.DetectPlatform(platform);
  EXPECT_EQ(settings.Platform, "NONE");
  EXPECT_EQ(settings.FaxEnabled, 0);
  EXPECT_EQ(settings.PdfEnabled, 0);
}

}  // namespace
}  // namespace lvx
