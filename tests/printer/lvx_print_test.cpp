// SPDX-License-Identifier: GPL-3.0-or-later
// A whole run of the batch printer in this process, with printers as the
// test wants them.
#include "lvx_print.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>

#include "command_text.h"
#include "pdf_check.h"
#include "settings_writer.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempDir;

// Printers that take every job (or refuse it) and keep what they got.
class FakePrinters : public PrinterSystem {
 public:
  struct Job {
    std::string printer;
    std::string title;
    std::string pdf;
    std::string media;
  };

  Printers ListPrinters() override {
    ++asked;
    return {names, defaultName, unreachable};
  }
  Paper DefaultPaper(const std::string& name) override {
    ++asked;
    if (name == gonePrinter) return {{}, "the print server went away"};
    return {paper, {}};
  }
  Submission SubmitPdf(const std::string& name, const std::string& path, const std::string& title,
                       const SheetPaper& sheet) override {
    if (!refusal.empty()) return {false, 0, refusal};
    EXPECT_EQ(testing::PdfFaults(path), "") << "the job for " << name;
    jobs.push_back({name, title, ReadAll(path), sheet.media});
    return {true, 41 + static_cast<int>(jobs.size()), {}};
  }

  std::vector<std::string> names = {"Laser", "Office", "Photo"};
  std::string defaultName = "Office";
  std::string refusal;      // the reason given for refusing jobs, empty to take them
  std::string unreachable;  // the reason the list cannot be had, empty to give it
  std::string gonePrinter;  // whose paper cannot be asked for
  SheetPaper paper;
  std::vector<Job> jobs;
  int asked = 0;
};

// What poppler's pdfinfo says of the PDF file `pdf` (its bytes) and each
// of its pages; its objects are compressed, so the bytes tell little.
std::string PdfInfo(const std::string& pdf) {
  const TempDir dir;
  QProcess info;
  info.start(QStringLiteral("pdfinfo"),
             {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
              QStringLiteral("100000"), QString::fromStdString(dir.Write("job.pdf", pdf))});
  info.waitForFinished(60000);
  return info.readAllStandardOutput().toStdString();
}

// The size of each page of a PDF file in points.
std::vector<std::pair<double, double>> PageSizes(const std::string& pdf) {
  const std::string info = PdfInfo(pdf);
  const std::regex box(R"(Page +[0-9]+ size: +([0-9.]+) x ([0-9.]+) pts)");
  std::vector<std::pair<double, double>> sizes;
  for (auto it = std::sregex_iterator(info.begin(), info.end(), box); it != std::sregex_iterator();
       ++it) {
    sizes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  }
  return sizes;
}

int PageCount(const std::string& pdf) {
  return static_cast<int>(PageSizes(pdf).size());
}

// The bytes of a PDF file the run wrote, once qpdf has found it sound.
std::string WrittenPdf(const std::string& path) {
  EXPECT_EQ(testing::PdfFaults(path), "");
  return ReadAll(path);
}

std::size_t FilesIn(const std::string& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// A program folder, a document folder with a two-page document "a.lvx",
// and a spool folder, in one temporary folder; the current folder and
// TMPDIR are put back afterwards.
class LvxPrintTest : public ::testing::Test {
 protected:
  LvxPrintTest() {
    fs::create_directories(app);
    fs::create_directories(spool);
    dir.Write("docs/a.lvx", "*TEXT /X:20 /Y:20 /T:one\r\n*PAGE\r\n*TEXT /X:20 /Y:20 /T:two\r\n");
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr) oldTmp_ = tmp;
    ::setenv("TMPDIR", spool.c_str(), 1);
  }
  ~LvxPrintTest() override {
    fs::current_path(oldFolder_);
    if (oldTmp_) {
      ::setenv("TMPDIR", oldTmp_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

  int Run(std::string_view commandText, const std::string& outputFile = {}) {
    out.str({});
    err.str({});
    LvxPrint program(PrintPlace{app, docs, outputFile, settingsFiles}, printers, out, err);
    const int status = program.Run(commandText);
    copies = program.copies;
    return status;
  }
  void Settings(std::string_view bytes) const { dir.Write("app/lvxprint.ini", bytes); }
  int ErrLines() const { return static_cast<int>(std::ranges::count(err.str(), '\n')); }

  const TempDir dir;
  const std::string app = dir.path() + "/app";
  const std::string docs = dir.path() + "/docs";
  const std::string spool = dir.path() + "/spool";
  PrinterSettingsFiles settingsFiles{app + "/lvxprint.ini", {}, true};
  FakePrinters printers;
  std::ostringstream out;
  std::ostringstream err;
  int copies = 0;

 private:
  fs::path oldFolder_ = fs::current_path();
  std::optional<std::string> oldTmp_;
};

TEST_F(LvxPrintTest, TheStoredPrinterByItsExactNameElseTheDefault) {
  const std::string office = "; printing on Office, the default printer\n";
  const struct {
    std::string_view settings;
    std::vector<std::string> names;
    std::string defaultName;
    std::string_view printer;
    std::string notice;  // on standard error
  } rows[] = {
      {"PRINTER=Photo\r\n", {"Laser", "Office", "Photo"}, "Office", "Photo", ""},
      {"Printer=Laser", {"Laser", "Office", "Photo"}, "Office", "Laser", ""},
      {"PRINTER=photo\r\n",
       {"Laser", "Office", "Photo"},
       "Office",
       "Office",
       "lvxprint: no printer is named \"photo\"" + office},
      {"PRINTER= Photo\r\n",
       {"Laser", "Office", "Photo"},
       "Office",
       "Office",
       "lvxprint: no printer is named \" Photo\"" + office},
      // No name stored: the default printer is what was asked for.
      {"PRINTER= \r\n", {"Laser", "Office", "Photo"}, "Office", "Office", ""},
      {"", {"Laser", "Office", "Photo"}, "Office", "Office", ""},
      {"PRINTER=Gone\r\n",
       {"Laser", "Office", "Photo"},
       "",
       "Laser",
       "lvxprint: no printer is named \"Gone\"; printing on Laser\n"},
      {"", {"Laser", "Office"}, "", "Laser", ""},
      // The settings are Windows-1252; queue names are UTF-8.
      {"PRINTER=Caf\xE9\r\n", {"Laser", "Caf\xC3\xA9"}, "Laser", "Caf\xC3\xA9", ""},
  };
  for (const auto& row : rows) {
    Settings(row.settings);
    printers.names = row.names;
    printers.defaultName = row.defaultName;
    printers.jobs.clear();
    EXPECT_EQ(Run("a.lvx"), kExitPrinted) << row.settings << err.str();
    ASSERT_EQ(printers.jobs.size(), 1U) << row.settings;
    EXPECT_EQ(printers.jobs[0].printer, row.printer) << row.settings;
    EXPECT_EQ(printers.jobs[0].title, "a.lvx");
    EXPECT_EQ(PageCount(printers.jobs[0].pdf), 2) << row.settings;
    EXPECT_EQ(FilesIn(spool), 0U) << "the spooled job must go";
    EXPECT_EQ(out.str(), "lvxprint: job " + std::string(row.printer) + "-42, 2 pages\n");
    EXPECT_EQ(err.str(), row.notice) << row.settings;
  }
}

TEST_F(LvxPrintTest, TheConfirmationNamesTheQueueTheJobAndItsPages) {
  const struct {
    std::string_view document;
    std::string_view command;
    std::string_view printer;
    std::string line;
  } rows[] = {
      {"*TEXT /X:20 /Y:20 /T:one\r\n", "a.lvx", "Office", "lvxprint: job Office-42, 1 page\n"},
      {"*TEXT /T:one\r\n*PAGE\r\n*TEXT /T:two\r\n", "a.lvx /C:3", "Office",
       "lvxprint: job Office-42, 6 pages\n"},
      // Only the job's last new page is not fed, nor counted; the one
      // before the second copy is.
      {"*TEXT /T:one\r\n*PAGE\r\n", "a.lvx /C:2", "Office", "lvxprint: job Office-42, 3 pages\n"},
      // An instance of a queue: the job belongs to the queue.
      {"*TEXT /T:one\r\n", "a.lvx", "Office/duplex", "lvxprint: job Office-42, 1 page\n"},
  };
  for (const auto& row : rows) {
    dir.Write("docs/a.lvx", row.document);
    printers.names = {std::string(row.printer)};
    printers.defaultName = row.printer;
    printers.jobs.clear();
    EXPECT_EQ(Run(row.command), kExitPrinted) << err.str();
    ASSERT_EQ(printers.jobs.size(), 1U);
    EXPECT_EQ(printers.jobs[0].printer, row.printer);
    EXPECT_EQ(out.str(), row.line) << row.document;
    EXPECT_EQ(err.str(), "");
  }
}

TEST_F(LvxPrintTest, APrinterJobIsLaidOutOnItsDefaultPaperFromThePrintableCorner) {
  const struct {
    SheetPaper paper;
    std::string_view document;
    std::vector<std::pair<double, double>> pages;  // in points
  } rows[] = {
      {SheetPaper::A4(), "*TEXT /T:a\r\n", {{595.276, 841.89}}},
      {{"na_letter_8.5x11in", 215.9, 279.4, 6.35, 12.7, 6.35, 12.7},
       "*TEXT /T:a\r\n*PAGE\r\n*ORIENTATION /H\r\n*TEXT /T:b\r\n",
       {{612, 792}, {792, 612}}},
      {{"iso_a5_148x210mm", 148, 210, 5, 12, 5, 10}, "*TEXT /T:a\r\n", {{419.528, 595.276}}},
  };
  for (const auto& row : rows) {
    dir.Write("docs/a.lvx", row.document);
    printers.paper = row.paper;
    printers.jobs.clear();
    EXPECT_EQ(Run("a.lvx"), kExitPrinted) << err.str();
    ASSERT_EQ(printers.jobs.size(), 1U);
    EXPECT_EQ(printers.jobs[0].media, row.paper.media);
    const auto sizes = PageSizes(printers.jobs[0].pdf);
    ASSERT_EQ(sizes.size(), row.pages.size()) << row.paper.media;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      EXPECT_NEAR(sizes[i].first, row.pages[i].first, 0.01) << row.paper.media << " page " << i;
      EXPECT_NEAR(sizes[i].second, row.pages[i].second, 0.01) << row.paper.media << " page " << i;
    }
  }
}

TEST_F(LvxPrintTest, APrintingSystemThatCannotBeAskedFailsTheRunAndWritesNothing) {
  const struct {
    std::string unreachable;
    std::string gonePrinter;
    std::string message;
  } rows[] = {
      {"cannot reach the print server 10.0.0.9:631: Connection refused", "",
       "lvxprint: cannot reach the print server 10.0.0.9:631: Connection refused\n"},
      {"", "Office", "lvxprint: the print server went away\n"},
  };
  for (const auto& row : rows) {
    printers.unreachable = row.unreachable;
    printers.gonePrinter = row.gonePrinter;
    printers.names.clear();  // as an unreachable scheduler gives them
    if (row.unreachable.empty()) printers.names = {"Office"};
    EXPECT_EQ(Run("a.lvx"), kExitJobFailed);
    EXPECT_EQ(err.str(), row.message);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(printers.jobs.empty());
    EXPECT_EQ(FilesIn(docs), 1U) << "no PDF beside the document";
    EXPECT_EQ(FilesIn(spool), 0U);
  }
}

TEST_F(LvxPrintTest, AMissingSettingsFileIsCreatedEmpty) {
  EXPECT_EQ(Run("a.lvx"), kExitPrinted);
  EXPECT_TRUE(fs::is_regular_file(app + "/lvxprint.ini"));
  EXPECT_EQ(fs::file_size(app + "/lvxprint.ini"), 0U);
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(printers.jobs.at(0).printer, "Office");
}

TEST_F(LvxPrintTest, ASharedProgramFolderGivesTheUsersChoiceAndCreatesNothing) {
  Settings("PRINTER=Laser\r\nCOPIES=3\r\n");
  settingsFiles = {dir.path() + "/user/lvxprint.ini", app + "/lvxprint.ini", false};
  EXPECT_EQ(Run("a.lvx"), kExitPrinted) << err.str();
  ASSERT_EQ(printers.jobs.size(), 1U);
  EXPECT_EQ(printers.jobs[0].printer, "Laser");
  EXPECT_EQ(copies, 3);

  dir.Write("user/lvxprint.ini", "PRINTER=Photo\r\nCOPIES=2\r\n");
  EXPECT_EQ(Run("a.lvx"), kExitPrinted) << err.str();
  ASSERT_EQ(printers.jobs.size(), 2U);
  EXPECT_EQ(printers.jobs[1].printer, "Photo");
  EXPECT_EQ(copies, 2);

  fs::remove_all(dir.path() + "/user");
  fs::remove(app + "/lvxprint.ini");
  EXPECT_EQ(Run("a.lvx"), kExitPrinted) << err.str();
  ASSERT_EQ(printers.jobs.size(), 3U);
  EXPECT_EQ(printers.jobs[2].printer, "Office");
  EXPECT_EQ(FilesIn(app), 0U);
  EXPECT_FALSE(fs::exists(dir.path() + "/user"));
}

TEST_F(LvxPrintTest, CopiesFromTheCommandLineElseTheSettings) {
  const struct {
    std::string_view settings;
    std::string_view command;
    int copies;
  } rows[] = {
      {"COPIES=3\r\n", "a.lvx", 3},       {"COPIES=3\r\n", "a.lvx /C:2", 2},
      {"COPIES=3\r\n", "a.lvx /C:0", 3},  {"COPIES=3\r\n", "a.lvx /C:", 3},
      {"COPIES=3\r\n", "a.lvx /C:x", 3},  {"COPIES=3\r\n", "a.lvx /C:100", 1},
      {"COPIES=3\r\n", "a.lvx /C:-1", 1}, {"COPIES=150\r\n", "a.lvx", 1},
      {"COPIES=99\r\n", "a.lvx", 99},     {"", "\"a.lvx\" /c:4", 4},
  };
  for (const auto& row : rows) {
    Settings(row.settings);
    printers.jobs.clear();
    EXPECT_EQ(Run(row.command), kExitPrinted) << row.command << err.str();
    EXPECT_EQ(copies, row.copies) << row.settings << row.command;
    ASSERT_EQ(printers.jobs.size(), 1U);
    EXPECT_EQ(PageCount(printers.jobs[0].pdf), 2 * row.copies) << row.settings << row.command;
  }
}

TEST_F(LvxPrintTest, ARefusedJobFailsAndLeavesNothingBehind) {
  printers.refusal = "The printer is not accepting jobs.";
  EXPECT_EQ(Run("a.lvx"), kExitJobFailed);
  EXPECT_EQ(err.str(),
            "lvxprint: the printer Office did not take the job: The printer is not accepting "
            "jobs.\n");
  EXPECT_EQ(FilesIn(spool), 0U);
}

TEST_F(LvxPrintTest, NoUsableDocumentPrintsNothing) {
  dir.Write("docs/empty.lvx", "");
  const struct {
    std::string_view command;
    std::string message;
  } rows[] = {
      {"", "lvxprint: no document given\n"},
      {"\"  \" /C:2", "lvxprint: no document given\n"},
      {"missing.lvx", "lvxprint: " + docs + "/missing.lvx: no such document, or it is empty\n"},
      {"empty.lvx", "lvxprint: " + docs + "/empty.lvx: no such document, or it is empty\n"},
      {docs, "lvxprint: " + docs + ": no such document, or it is empty\n"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run(row.command), kExitNoDocument) << row.command;
    EXPECT_EQ(err.str(), row.message);
  }
  EXPECT_TRUE(printers.jobs.empty());
  // The check deletes an empty document.
  EXPECT_FALSE(fs::exists(docs + "/empty.lvx"));
  EXPECT_EQ(FilesIn(spool), 0U);
}

TEST_F(LvxPrintTest, WithoutPrintersThePdfGoesBesideTheDocumentUnderANewName) {
  printers.names.clear();
  printers.defaultName.clear();
  printers.paper = {"na_letter_8.5x11in", 215.9, 279.4, 6, 12, 6, 12};  // not for files
  dir.Write("docs/a.pdf", "mine");
  for (const char* name : {"a-2.pdf", "a-3.pdf"}) {
    EXPECT_EQ(Run("a.lvx /C:2"), kExitPrinted) << err.str();
    EXPECT_NEAR(PageSizes(WrittenPdf(docs + "/" + name)).at(0).first, 595.276, 0.01);
    EXPECT_EQ(out.str(),
              "lvxprint: no printer installed; the job is in " + docs + "/" + name + "\n");
    EXPECT_EQ(PageCount(ReadAll(docs + "/" + name)), 4);
  }
  EXPECT_EQ(ReadAll(docs + "/a.pdf"), "mine");
  EXPECT_EQ(FilesIn(docs), 4U);  // a.lvx and three PDF files, nothing pending
}

TEST_F(LvxPrintTest, AnOutputFileTakesTheJobWithoutAskingForPrinters) {
  const std::string output = dir.Write("job.pdf", "old");
  printers.paper = {"na_letter_8.5x11in", 215.9, 279.4, 6, 12, 6, 12};  // not for files
  EXPECT_EQ(Run("a.lvx /C:3", output), kExitPrinted) << err.str();
  EXPECT_EQ(PageCount(WrittenPdf(output)), 6);
  EXPECT_NEAR(PageSizes(ReadAll(output)).at(0).second, 841.89, 0.01);
  EXPECT_EQ(printers.asked, 0);
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_EQ(out.str() + err.str(), "");

  EXPECT_EQ(Run("a.lvx", dir.path() + "/none/job.pdf"), kExitJobFailed);
  EXPECT_EQ(ErrLines(), 1);
  EXPECT_EQ(Run("missing.lvx", output), kExitNoDocument);
  EXPECT_EQ(PageCount(ReadAll(output)), 6) << "a failed run leaves the old file";
}

TEST_F(LvxPrintTest, RelativePathsAreTakenInTheStartFolderBeforeTheChange) {
  dir.Write("docs/sub/b.lvx", "*MERGE /N:part.lvx\r\n");
  dir.Write("docs/sub/part.lvx", "*TEXT /X:20 /Y:20 /T:part\r\n");
  const std::string output = dir.path() + "/job.pdf";
  // The blank that stands before "/C:" stays with the path and is forgiven.
  EXPECT_EQ(Run("sub/b.lvx /C:1", output), kExitPrinted) << err.str();
  EXPECT_EQ(fs::current_path(), fs::path(docs + "/sub"));
  EXPECT_EQ(PageCount(WrittenPdf(output)), 1);
}

// The viewer's folder list hands over lower-case paths: lvxprint changes
// into the folder as it is on disk, so that a picture named with a
// separator, taken from the current folder, is found.
TEST_F(LvxPrintTest, ChangesIntoTheDocumentsFolderAsFoundOnDisk) {
  fs::create_directories(docs + "/Real Folder/Img");
  QImage logo(20, 10, QImage::Format_RGB32);
  logo.fill(Qt::red);
  ASSERT_TRUE(logo.save(QString::fromStdString(docs + "/Real Folder/Img/Logo.bmp"), "BMP"));
  dir.Write("docs/Real Folder/B.lvx", "*IMAGE /X:10 /Y:10 /N:img\\logo.bmp\r\n");
  const std::string output = dir.path() + "/job.pdf";
  EXPECT_EQ(Run("\"real folder/b.lvx\"", output), kExitPrinted) << err.str();
  EXPECT_EQ(fs::current_path(), fs::path(docs + "/Real Folder"));
  EXPECT_TRUE(std::regex_search(WrittenPdf(output), std::regex("/Subtype */Image")));
}

TEST_F(LvxPrintTest, ACommandLineBeyondTheLimitSaysSo) {
  EXPECT_EQ(Run("/" + std::string(kCommandTextLimit, 'a')), kExitNoDocument);
  EXPECT_EQ(err.str(), "lvxprint: command line too long\n");
  EXPECT_TRUE(printers.jobs.empty());
}

}  // namespace
}  // namespace lvx
