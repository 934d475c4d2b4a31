// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxprint against CUPS schedulers of the tests' own that listen on
// TCP ports of 127.0.0.1, as print servers on other hosts do: papers and
// printable areas of the queues, servers that cannot be reached, stop or
// fill up, and many runs at once.
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "lvxprint_folder.h"
#include "pdf_probe.h"
#include "print_server.h"
#include "settings_writer.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarginsPpd = PRIVATE_CUPS_SCRIPTS "/margins.ppd";
constexpr double kNearMm = 0.3;

// The job number in lvxprint's confirmation "lvxprint: job QUEUE-N, ...".
int JobNumber(const std::string& out, const std::string& queue) {
  std::smatch match;
  const std::regex line("^lvxprint: job " + queue + "-([0-9]+), [0-9]+ pages?\n$");
  return std::regex_match(out, match, line) ? std::stoi(match[1]) : 0;
}

class PrintServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.running()) << "the private scheduler did not start"; }

  RunResult Print(const std::vector<std::string>& arguments,
                  std::map<std::string, std::string> extra = {}) const {
    extra.emplace("CUPS_SERVER", server.address());
    return f.Run(arguments, extra);
  }

  // What reached out/NAME once the scheduler is idle.
  std::optional<PdfProbe> Arrived(const std::string& name) const {
    EXPECT_TRUE(server.Idle());
    if (!fs::exists(server.out() + "/" + name)) return std::nullopt;
    return PdfProbe::Read(server.out() + "/" + name);
  }

  PrintServer server;
  const LvxPrintFolder f;
};

TEST_F(PrintServerTest, TextLandsAtItsPlaceInThePrintableAreaOfTheQueuesPaper) {
  ASSERT_TRUE(server.AddQueue("Margins", "margins.pdf", kMarginsPpd));
  ASSERT_TRUE(
      server.AddQueue("LetterMargins", "letter.pdf", kMarginsPpd, {"-o", "PageSize=Letter"}));
  const struct {
    std::string queue;
    std::string file;
    double widthMm;
    double heightMm;
    double leftMm;  // the printable area's corner
    double topMm;
  } rows[] = {
      // A4 with 5 mm left and 12 mm top, from the PPD's ImageableArea.
      {"Margins", "margins.pdf", 210.0, 297.0, 5.0, 12.0},
      {"LetterMargins", "letter.pdf", 215.9, 279.4, 6.35, 12.7},
      // The Generic PDF driver's default: Letter, a quarter inch and half an inch.
      {"GenPDF", "job.pdf", 215.9, 279.4, 6.35, 12.7},
  };
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:here", "*TEXT /X:100 /Y:200 /T:there"}));
  // The same document as a file: A4 from the sheet's corner, the reference.
  const std::string reference = f.dir.path() + "/reference.pdf";
  ASSERT_EQ(f.Run({"a.lvx"}, {{"LVXPRINT_OUTPUT", reference}}).status, 0);
  const auto file = PdfProbe::Read(reference);
  ASSERT_TRUE(file && file->pages.size() == 1U);
  ASSERT_NEAR(file->pages[0].widthMm, 210.0, 0.1);

  for (const auto& row : rows) {
    f.Settings(PrinterSettingsText(row.queue, "1"));
    const RunResult run = Print({"a.lvx"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_GT(JobNumber(run.out, row.queue), 0) << run.out;
    EXPECT_EQ(run.err, "");
    const auto pdf = Arrived(row.file);
    ASSERT_TRUE(pdf && pdf->pages.size() == 1U) << row.queue;
    const PdfPage& page = pdf->pages[0];
    EXPECT_NEAR(page.widthMm, row.widthMm, 0.1) << row.queue;
    EXPECT_NEAR(page.heightMm, row.heightMm, 0.1) << row.queue;
    for (const char* text : {"here", "there"}) {
      const PdfWord* printed = page.Find(text);
      const PdfWord* filed = file->pages[0].Find(text);
      ASSERT_TRUE(printed && filed) << row.queue << " " << text;
      EXPECT_NEAR(printed->left - filed->left, row.leftMm, kNearMm) << row.queue << " " << text;
      EXPECT_NEAR(printed->top - filed->top, row.topMm, kNearMm) << row.queue << " " << text;
    }
    fs::remove(server.out() + "/" + row.file);
  }
}

TEST_F(PrintServerTest, ALandscapePageKeepsToThePrintableAreaOfTheTurnedSheet) {
  ASSERT_TRUE(server.AddQueue("Margins", "margins.pdf", kMarginsPpd));
  f.Settings(PrinterSettingsText("Margins", "1"));
  f.Doc("a.lvx", Lines({"*ORIENTATION /H", "*TEXT /X:20 /Y:20 /T:here"}));
  const RunResult run = Print({"a.lvx"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto pdf = Arrived("margins.pdf");
  ASSERT_TRUE(pdf && pdf->pages.size() == 1U);
  // The queue turns the page onto its upright A4, a quarter turn
  // anticlockwise: the page's left edge is the sheet's bottom (10 mm
  // margin), its top the sheet's left (5 mm).
  const PdfPage& sheet = pdf->pages[0];
  ASSERT_NEAR(sheet.widthMm, 210.0, 0.1);
  const PdfWord* here = sheet.Find("here");
  ASSERT_NE(here, nullptr);
  EXPECT_NEAR(sheet.heightMm - here->bottom, 10.0 + 20.0, kNearMm);
  EXPECT_NEAR(here->left, 5.0 + 20.0, 1.0);  // the cell's top, a little above the ink
}

TEST_F(PrintServerTest, APaperTheUserChoseForTheQueueWithLpoptionsIsTaken) {
  ASSERT_TRUE(server.AddQueue("Margins", "margins.pdf", kMarginsPpd));
  f.Settings(PrinterSettingsText("Margins", "1"));
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:here"}));
  const std::string home = f.dir.path() + "/home";
  const struct {
    std::string lpoptions;
    double widthMm;
    double leftMm;  // the printable area's corner as the PPD gives it for that size
    double topMm;
  } rows[] = {
      {"Dest Margins media=Letter\n", 215.9, 6.35, 12.7},
      {"Dest Margins media=na_letter_8.5x11in,tray-1\n", 215.9, 6.35, 12.7},
      {"Dest Margins media=iso_a4_210x297mm\n", 210.0, 5.0, 12.0},
      // Another queue's choice, or a name no paper bears: the queue's default.
      {"Dest GenPDF media=Letter\n", 210.0, 5.0, 12.0},
      {"Dest Margins media=no-such-paper\n", 210.0, 5.0, 12.0},
  };
  for (const auto& row : rows) {
    f.dir.Write("home/.cups/lpoptions", row.lpoptions);
    const RunResult run = Print({"a.lvx"}, {{"HOME", home}});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto pdf = Arrived("margins.pdf");
    ASSERT_TRUE(pdf && pdf->pages.size() == 1U) << row.lpoptions;
    EXPECT_NEAR(pdf->pages[0].widthMm, row.widthMm, 0.1) << row.lpoptions;
    const PdfWord* here = pdf->pages[0].Find("here");
    ASSERT_NE(here, nullptr) << row.lpoptions;
    // The reference file puts the word at (20, 20) plus the font's own offsets.
    EXPECT_NEAR(here->left, 20.0 + row.leftMm, 0.5) << row.lpoptions;
    EXPECT_NEAR(here->top, 20.0 + row.topMm, 0.5) << row.lpoptions;
    fs::remove(server.out() + "/margins.pdf");
  }
}

TEST_F(PrintServerTest, TheServerOfClientConfServesAsCupsServerDoes) {
  // No CUPS_SERVER: the user's client.conf names the server.
  f.dir.Write("home/.cups/client.conf", "ServerName " + server.address() + "\n");
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one", "*PAGE", "*TEXT /X:20 /Y:20 /T:two"}));
  const RunResult run =
      f.Run({"a.lvx", "/C:2"}, {{"CUPS_SERVER", ""}, {"HOME", f.dir.path() + "/home"}});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_GT(JobNumber(run.out, "GenPDF"), 0) << run.out;
  EXPECT_NE(run.out.find(", 4 pages\n"), std::string::npos) << run.out;
  const auto pdf = Arrived("job.pdf");
  ASSERT_TRUE(pdf);
  EXPECT_EQ(pdf->Texts(), (std::vector<std::string>{"one", "two", "one", "two"}));
}

TEST_F(PrintServerTest, AStoredPrinterTheServerLacksGoesToItsDefaultWithANotice) {
  f.Settings(PrinterSettingsText("Elsewhere", "1"));
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one"}));
  const RunResult run = Print({"a.lvx"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_GT(JobNumber(run.out, "GenPDF"), 0) << run.out;
  EXPECT_EQ(
      run.err,
      "lvxprint: no printer is named \"Elsewhere\"; printing on GenPDF, the default printer\n");
  EXPECT_TRUE(Arrived("job.pdf"));
}

TEST_F(PrintServerTest, AServerWithoutQueuesMeansNoPrinterInstalled) {
  ASSERT_TRUE(server.Client("lpadmin", {"-x", "GenPDF"}));
  f.Settings(PrinterSettingsText("GenPDF", "1"));
  f.Doc("inv.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one", "*PAGE", "*TEXT /X:20 /Y:20 /T:two"}));
  f.Doc("inv.pdf", "mine");
  // Beside the document, A4 from the sheet's corner, never replacing a file.
  for (const std::string name : {"inv-2.pdf", "inv-3.pdf"}) {
    const RunResult run = Print({"inv.lvx"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "lvxprint: no printer installed; the job is in " + f.docs + "/" + name + "\n");
    EXPECT_EQ(run.err, "");
    const auto pdf = PdfProbe::Read(f.docs + "/" + name);
    ASSERT_TRUE(pdf && pdf->pages.size() == 2U) << name;
    EXPECT_EQ(pdf->Texts(), (std::vector<std::string>{"one", "two"}));
    EXPECT_NEAR(pdf->pages[0].widthMm, 210.0, 0.1);
    EXPECT_NEAR(pdf->pages[0].Find("one")->left, 20.0, kNearMm);
  }
  EXPECT_EQ(ReadAll(f.docs + "/inv.pdf"), "mine");
}

TEST(PrintServerReach, ASchedulerThatCannotBeReachedFailsAndWritesNothing) {
  std::string stoppedPort;
  {
    PrintServer stopped;
    ASSERT_TRUE(stopped.running());
    stoppedPort = stopped.address();
  }
  const LvxPrintFolder f;
  const std::string socket = f.dir.path() + "/none.sock";
  f.dir.Write("home/.cups/client.conf", "ServerName " + stoppedPort + "\n");
  const struct {
    std::map<std::string, std::string> env;
    std::string server;
  } rows[] = {
      {{{"CUPS_SERVER", socket}}, socket},            // no socket
      {{{"CUPS_SERVER", stoppedPort}}, stoppedPort},  // refused
      {{{"CUPS_SERVER", ""}, {"HOME", f.dir.path() + "/home"}}, stoppedPort},
  };
  // lvxprint.ini names a queue: no PDF may stand in for the printout.
  f.Settings(PrinterSettingsText("GenPDF", "1"));
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:one"}));
  for (const auto& row : rows) {
    const RunResult run = f.Run({"a.lvx"}, row.env);
    EXPECT_EQ(run.status, 3) << row.server;
    EXPECT_EQ(run.err, "lvxprint: cannot reach the print server " + row.server + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(f.docs), fs::directory_iterator()), 1)
        << "nothing beside the document";
  }
}

TEST_F(PrintServerTest, FiftyRunsAtOnceAllArriveWholeWithTheirPages) {
  constexpr int kRuns = 50;
  // The queue holds the jobs, so that each stays in the spool as it came.
  ASSERT_TRUE(server.Client("cupsdisable", {"GenPDF"}));
  std::vector<std::unique_ptr<QProcess>> runs;
  for (int i = 0; i < kRuns; ++i) {
    std::vector<std::string> lines;
    for (int page = 0; page <= i % 3; ++page) {
      if (page > 0) lines.push_back("*PAGE");
      lines.push_back("*TEXT /X:20 /Y:20 /T:run" + std::to_string(i) + "p" + std::to_string(page));
    }
    f.Doc("run" + std::to_string(i) + ".lvx", Lines(lines));
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(f.Environment({{"CUPS_SERVER", server.address()}}));
    process->setWorkingDirectory(QString::fromStdString(f.docs));
    process->start(QString::fromStdString(f.binary),
                   {QString::fromStdString("run" + std::to_string(i) + ".lvx")});
    runs.push_back(std::move(process));
  }
  std::set<int> jobs;
  for (int i = 0; i < kRuns; ++i) {
    QProcess& run = *runs[static_cast<std::size_t>(i)];
    ASSERT_TRUE(run.waitForFinished(180000)) << "run " << i << " did not end";
    const std::string out = run.readAllStandardOutput().toStdString();
    EXPECT_EQ(run.exitCode(), 0) << i << ": " << run.readAllStandardError().toStdString();
    const int pages = i % 3 + 1;
    const int job = JobNumber(out, "GenPDF");
    EXPECT_NE(out.find(", " + std::to_string(pages) + (pages == 1 ? " page\n" : " pages\n")),
              std::string::npos)
        << out;
    ASSERT_GT(job, 0) << out;
    EXPECT_TRUE(jobs.insert(job).second) << "job " << job << " twice";
    // The document as the scheduler holds it.
    char name[32];
    std::snprintf(name, sizeof name, "/d%05d-001", job);
    const auto pdf = PdfProbe::Read(server.spool() + name);
    ASSERT_TRUE(pdf) << "job " << job << " of run " << i << " is not whole";
    std::vector<std::string> texts;
    for (int page = 0; page < pages; ++page) {
      texts.push_back("run" + std::to_string(i) + "p" + std::to_string(page));
    }
    EXPECT_EQ(pdf->Texts(), texts) << "run " << i;
  }
  EXPECT_EQ(jobs.size(), static_cast<std::size_t>(kRuns));
}

TEST_F(PrintServerTest, ASchedulerStoppedInTheMiddleFailsAndLeavesNoJob) {
  // Long enough to lay out that the scheduler is gone before it is handed over.
  std::string big;
  for (int page = 0; page < 30000; ++page) big += "*TEXT /X:20 /Y:20 /T:page\r\n*PAGE\r\n";
  f.Doc("big.lvx", big);
  const std::size_t logged = server.AccessLog().size();
  QProcess run;
  run.setProcessEnvironment(f.Environment({{"CUPS_SERVER", server.address()}}));
  run.setWorkingDirectory(QString::fromStdString(f.docs));
  run.start(QString::fromStdString(f.binary), {"big.lvx"});
  // The queue's paper is the last question before the job is laid out.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (server.AccessLog().find("Get-Printer-Attributes", logged) == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  server.Stop();
  ASSERT_TRUE(run.waitForFinished(180000));
  EXPECT_EQ(run.exitCode(), 3);
  const std::string err = run.readAllStandardError().toStdString();
  EXPECT_EQ(err.rfind("lvxprint: ", 0), 0U) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_EQ(run.readAllStandardOutput().toStdString(), "");
  EXPECT_FALSE(fs::exists(server.out() + "/job.pdf"));
  for (const auto& entry : fs::directory_iterator(server.spool())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name[0] != 'c' && name[0] != 'd') << "a job was left: " << name;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(f.docs), fs::directory_iterator()), 1);
}

TEST(PrintServerSpool, AFullSpoolFolderFailsTheRun) {
  // A spool of 16 KiB: the job's control file fits, its document does not.
  PrintServer server({"--spool-kb", "16"});
  if (!server.running()) GTEST_SKIP() << "no file system of its own for the spool (needs root)";
  const LvxPrintFolder f;
  std::string pages;
  for (int page = 0; page < 300; ++page) {
    pages +=
        "*TEXT /X:20 /Y:20 /T:page with some words on it " + std::to_string(page) + "\r\n*PAGE\r\n";
  }
  f.Doc("a.lvx", pages);
  const RunResult run = f.Run({"a.lvx"}, {{"CUPS_SERVER", server.address()}});
  EXPECT_EQ(run.status, 3) << run.out;
  EXPECT_EQ(run.err.rfind("lvxprint: the printer GenPDF did not take the job: ", 0), 0U) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(server.Idle());
  EXPECT_FALSE(fs::exists(server.out() + "/job.pdf"));
}

}  // namespace
}  // namespace lvx::testing
