// SPDX-License-Identifier: GPL-3.0-or-later
// The picker against a real CUPS scheduler: the private one the test run
// starts, whose only queue "GenPDF" is the default printer.
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include <gtest/gtest.h>

#include "form_lvx_pick.h"
#include "picker_fixture.h"
#include "printer_settings.h"
#include "printer_source.h"
#include "settings_writer.h"

namespace lvx {
namespace {

using testing::Combo;
using testing::ReadAll;
using testing::TempDir;

class CupsPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("CUPS_SERVER"), nullptr)
        << "needs the private scheduler: run through ctest (fixture PrivateCups)";
  }
  const CupsPrinters printers;
  const TempDir dir;
  const std::string ini = PrinterSettingsPath(dir.path());
};

TEST_F(CupsPickerTest, TheQueueIsListedAndOkStoresIt) {
  ASSERT_TRUE(printers.PrinterNames().contains("GenPDF"));
  EXPECT_EQ(printers.DefaultPrinterName(), "GenPDF");

  // No settings yet: the default printer is preselected.
  FormLvxPick form(ini, "", printers);
  form.show();
  EXPECT_EQ(Combo(form, "Combo1")->currentText(), "GenPDF");
  Combo(form, "Combo2")->setCurrentIndex(1);
  QTest::mouseClick(testing::Child<QPushButton>(form, "Command1"), Qt::LeftButton);
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("GenPDF", "2"));
}

TEST_F(CupsPickerTest, AStoredPrinterThatIsGoneGivesTheFirstQueue) {
  dir.Write("lvxprint.ini", "PRINTER=Gone\r\nCOPIES=3\r\n");
  FormLvxPick form(ini, "", printers);
  form.show();
  EXPECT_EQ(Combo(form, "Combo1")->currentIndex(), 0);
  EXPECT_EQ(Combo(form, "Combo1")->currentText(), printers.PrinterNames().front());
  QTest::mouseClick(testing::Child<QPushButton>(form, "Command1"), Qt::LeftButton);
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("GenPDF", "3"));
}

}  // namespace
}  // namespace lvx
