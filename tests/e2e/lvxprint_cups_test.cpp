// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxprint against a real CUPS scheduler: the private one of the
// test run, whose queue "GenPDF" (the default printer) writes each job to
// out/job.pdf. These tests add a second queue that writes to out/second.pdf
// and remove it again.
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "form_lvx_pick.h"
#include "lvxprint_folder.h"
#include "pdf_probe.h"
#include "picker_fixture.h"
#include "printer_source.h"
#include "settings_writer.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSecond = "Lvxprint_Second";

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : value;
}

// Runs a CUPS client program; its standard output, or nothing when it failed.
std::optional<std::string> Client(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return std::nullopt;
  return process.readAllStandardOutput().toStdString();
}

// Page numbers low on the page, but within the printable area of Letter.
const std::string kTwoDocuments =
    Lines({"*TEXT /X:20 /Y:20 /T:first-a", "*TEXT /X:180 /Y:250 /PAGE", "*PAGE",
           "*TEXT /X:20 /Y:20 /T:first-b", "*TEXT /X:180 /Y:250 /PAGE", "#EOD",
           "*TEXT /X:20 /Y:20 /T:second", "*TEXT /X:180 /Y:250 /PAGE"});

class CupsPrintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::string dir = Env("LVX_PRIVATE_CUPS_DIR");
    if (dir.empty()) return;
    Client("lpadmin",
           {"-p", kSecond, "-E", "-v", QString::fromStdString("file://" + dir + "/out/second.pdf"),
            "-m", "lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd"});
  }
  static void TearDownTestSuite() { Client("lpadmin", {"-x", kSecond}); }

  void SetUp() override {
    ASSERT_FALSE(server.empty() || out.empty())
        << "needs the private scheduler: run through ctest (fixture PrivateCups)";
    const auto printers = Client("lpstat", {"-p"});
    ASSERT_TRUE(printers && printers->find(kSecond) != std::string::npos)
        << "the second queue is missing";
    for (const char* name : {"/job.pdf", "/second.pdf"}) fs::remove(out + name);
  }

  RunResult Print(const std::vector<std::string>& arguments) const {
    return f.Run(arguments, {{"CUPS_SERVER", server}});
  }

  // Waits until the scheduler has no job left, then reads what reached
  // `name` in the queues' output folder; nothing when no job came there.
  std::optional<PdfProbe> Arrived(const std::string& name) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
      const auto jobs = Client("lpstat", {"-o"});
      if (jobs && jobs->empty()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!fs::exists(out + "/" + name)) return std::nullopt;
    return PdfProbe::Read(out + "/" + name);
  }

  const std::string server = Env("CUPS_SERVER");
  const std::string out =
      Env("LVX_PRIVATE_CUPS_DIR").empty() ? "" : Env("LVX_PRIVATE_CUPS_DIR") + "/out";
  const LvxPrintFolder f;
};

TEST_F(CupsPrintTest, TwoDocumentsInTwoCopiesOnTheStoredPrinter) {
  f.Settings(PrinterSettingsText(kSecond, "2"));
  f.Doc("two.lvx", kTwoDocuments);
  const RunResult run = Print({"two.lvx"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind(std::string("lvxprint: job ") + kSecond + "-", 0), 0U) << run.out;
  EXPECT_NE(run.out.find(", 6 pages\n"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");

  const auto pdf = Arrived("second.pdf");
  ASSERT_TRUE(pdf) << "no job reached " << kSecond;
  EXPECT_EQ(pdf->Texts(), (std::vector<std::string>{"first-a 1", "first-b 2", "first-a 1",
                                                    "first-b 2", "second 1", "second 1"}));
  // The queue's default paper: the Generic PDF driver names Letter.
  for (const PdfPage& page : pdf->pages) {
    EXPECT_NEAR(page.widthMm, 215.9, 0.5);
    EXPECT_NEAR(page.heightMm, 279.4, 0.5);
  }
  EXPECT_FALSE(fs::exists(out + "/job.pdf")) << "the default queue got a job too";
}

TEST_F(CupsPrintTest, APrinterThatDoesNotExistGivesTheDefaultQueue) {
  // A name that differs only in letter case is another name.
  for (const std::string name : {"NoSuchPrinter", "lvxprint_second"}) {
    f.Settings(PrinterSettingsText(name, "1"));
    f.Doc("two.lvx", kTwoDocuments);
    const RunResult run = Print({"two.lvx"});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto pdf = Arrived("job.pdf");
    ASSERT_TRUE(pdf) << "no job reached the default queue for " << name;
    EXPECT_EQ(pdf->Texts(), (std::vector<std::string>{"first-a 1", "first-b 2", "second 1"}));
    EXPECT_FALSE(fs::exists(out + "/second.pdf"));
    fs::remove(out + "/job.pdf");
  }
}

TEST_F(CupsPrintTest, TheChoiceMadeInThePickerIsWhereTheCopiesGo) {
  const CupsPrinters printers;
  FormLvxPick form(f.SettingsPath(), "", printers);
  form.show();
  QComboBox* names = Combo(form, "Combo1");
  QComboBox* copies = Combo(form, "Combo2");
  ASSERT_GE(names->findText(kSecond), 0);
  names->setCurrentIndex(names->findText(kSecond));
  copies->setCurrentIndex(copies->findText("2"));
  QTest::mouseClick(Child<QPushButton>(form, "Command1"), Qt::LeftButton);
  ASSERT_EQ(ReadAll(f.SettingsPath()), PrinterSettingsText(kSecond, "2"));

  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one", "*PAGE", "*TEXT /X:20 /Y:20 /T:two"}));
  const RunResult run = Print({"a.lvx"});
  EXPECT_EQ(run.status, 0) << run.err;
  const auto pdf = Arrived("second.pdf");
  ASSERT_TRUE(pdf);
  EXPECT_EQ(pdf->Texts(), (std::vector<std::string>{"one", "two", "one", "two"}));
}

TEST_F(CupsPrintTest, AQueueThatRefusesTheJobFailsTheRun) {
  ASSERT_TRUE(Client("cupsreject", {kSecond}));
  f.Settings(PrinterSettingsText(kSecond, "1"));
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one"}));
  const RunResult run = Print({"a.lvx"});
  Client("cupsaccept", {kSecond});
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(
      run.err.rfind(std::string("lvxprint: the printer ") + kSecond + " did not take the job: ", 0),
      0U)
      << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  EXPECT_FALSE(Arrived("second.pdf"));
  EXPECT_FALSE(fs::exists(out + "/job.pdf"));
}

}  // namespace
}  // namespace lvx::testing
