// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxpdf from a program folder of its own, without a display; a
// stand-in xdg-open on PATH records what it was asked to open.
#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <set>

#include "companion_folder.h"
#include "pdf_check.h"
#include "pdf_probe.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Two documents, pages of both orientations, page numbers, boxes, fonts.
const std::string kTwoDocuments = Lines({
    "*FONT /N:Arial /S:12 /B",
    "*TEXT /X:20 /Y:20 /T:Fattura 17",
    "*BOX /X:20 /Y:27 /W:170 /H:0.3 /F",
    "*FONT /N:Times New Roman /S:9 /I",
    "*TEXT /X:150.5 /Y:280.25 /T:pagina /PAGE",
    "*PAGE",
    "*ORIENTATION /H",
    "*FONT /N:Courier New /S:10",
    "*TEXT /X:250 /Y:20 /T:largo Caff\xE8 \x80 12",
    "#EOD",
    "*TEXT /X:30 /Y:40 /T:secondo documento",
    "*TEXT /X:100 /Y:200 /T:fine /PAGE",
});

TEST(LvxpdfE2e, ThePdfIsLvxprintsJobPageForPageInOneCopy) {
  CompanionFolder f;
  f.StandIn("xdg-open");
  const std::string doc = f.Doc("fattura.lvx", kTwoDocuments);
  // The copies of lvxprint.ini are not lvxpdf's business.
  f.Settings("COPIES=3\r\n");
  const std::string job = f.dir.path() + "/job.pdf";
  ASSERT_EQ(f.Run({doc, "/C:1"}, {{"LVXPRINT_OUTPUT", job}}).status, 0);

  const RunResult run = f.Pdf({"--no-open", "fattura.lvx"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "lvxpdf: the PDF is in " + f.docs + "/fattura.pdf\n");
  EXPECT_EQ(run.err, "");
  const PdfProbe printed = PdfProbe::Require(job);
  const PdfProbe saved = PdfProbe::Require(f.docs + "/fattura.pdf");
  ASSERT_EQ(saved.pages.size(), 3U);
  ASSERT_EQ(saved.pages.size(), printed.pages.size());
  for (std::size_t page = 0; page < saved.pages.size(); ++page) {
    const PdfPage& a = printed.pages[page];
    const PdfPage& b = saved.pages[page];
    EXPECT_DOUBLE_EQ(a.widthMm, b.widthMm) << page;
    EXPECT_DOUBLE_EQ(a.heightMm, b.heightMm) << page;
    ASSERT_EQ(a.words.size(), b.words.size()) << page;
    for (std::size_t w = 0; w < a.words.size(); ++w) {
      EXPECT_EQ(a.words[w].text, b.words[w].text);
      EXPECT_DOUBLE_EQ(a.words[w].left, b.words[w].left) << a.words[w].text;
      EXPECT_DOUBLE_EQ(a.words[w].top, b.words[w].top) << a.words[w].text;
      EXPECT_DOUBLE_EQ(a.words[w].right, b.words[w].right) << a.words[w].text;
      EXPECT_DOUBLE_EQ(a.words[w].bottom, b.words[w].bottom) << a.words[w].text;
    }
  }
  // A "/PAGE" text prints the page's number in its place.
  EXPECT_EQ(saved.Texts(),
            (Strings{"Fattura 17 1", "largo Caff\xC3\xA8 \xE2\x82\xAC 12", "secondo documento 1"}));
  EXPECT_TRUE(saved.pages[1].Landscape());
  EXPECT_EQ(f.Given("xdg-open"), std::nullopt) << "--no-open opens nothing";
}

TEST(LvxpdfE2e, BesideTheDocumentNoFileIsEverReplaced) {
  CompanionFolder f;
  f.StandIn("xdg-open");
  const std::string doc = f.Doc("inv.lvx", Lines({"*TEXT /X:20 /Y:20 /T:mine"}));
  f.Doc("inv.pdf", "earlier");
  for (const std::string name : {"inv-2.pdf", "inv-3.pdf"}) {
    const RunResult run = f.Pdf({doc});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "lvxpdf: the PDF is in " + f.docs + "/" + name + "\n");
    EXPECT_EQ(f.Given("xdg-open"), (Strings{f.docs + "/" + name}));
    EXPECT_EQ(PdfProbe::Require(f.docs + "/" + name).Texts(), (Strings{"mine"}));
  }
  EXPECT_EQ(ReadAll(f.docs + "/inv.pdf"), "earlier");
  EXPECT_EQ(Listing(f.docs),
            (std::set<std::string>{"inv.lvx", "inv.pdf", "inv-2.pdf", "inv-3.pdf"}));
}

TEST(LvxpdfE2e, TheViewerItOpensGetsTheDesktopsEnvironment) {
  CompanionFolder f;
  f.StandIn("xdg-open", "printf '%s' \"${QT_QPA_PLATFORM-unset}\" > \"$0.platform\"");
  // A name in any letter case and with trailing blanks finds the file.
  f.Doc("Nota Spese.lvx", Lines({"*TEXT /X:20 /Y:20 /T:x"}));
  const RunResult run = f.Pdf({"nota spese.lvx  "});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.Given("xdg-open"), (Strings{f.docs + "/Nota Spese.pdf"}));
  EXPECT_EQ(PdfFaults(f.docs + "/Nota Spese.pdf"), "");
  EXPECT_EQ(ReadAll(f.bin + "/xdg-open.platform"), "unset");
}

TEST(LvxpdfE2e, APdfViewerThatCannotBeStartedStillLeavesThePdf) {
  CompanionFolder f;
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:x"}));
  const struct {
    std::string then;  // the stand-in's end; empty for no xdg-open at all
    std::string err;
  } rows[] = {
      {"", "lvxpdf: cannot start xdg-open: No such file or directory\n"},
      {"exit 3", "lvxpdf: xdg-open failed (exit status 3)\n"},
  };
  for (const auto& row : rows) {
    fs::remove(f.docs + "/a.pdf");
    fs::remove(f.bin + "/xdg-open");
    if (!row.then.empty()) f.StandIn("xdg-open", row.then);
    // Only the stand-ins' folder on PATH: no desktop's xdg-open either.
    const RunResult run = f.Pdf({"a.lvx"}, {{"PATH", f.bin}});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(PdfProbe::Require(f.docs + "/a.pdf").Texts(), (Strings{"x"}));
  }
}

TEST(LvxpdfE2e, UnusableArgumentsAndDocumentsWriteNothing) {
  CompanionFolder f;
  f.StandIn("xdg-open");
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:x"}));
  f.Doc("empty.lvx", "");
  const struct {
    Strings arguments;
    int status;
    std::string err;
  } rows[] = {
      {{}, 1, "lvxpdf: no document given\n"},
      {{"a.lvx", "b.lvx"}, 1, "lvxpdf: more than one document given: b.lvx\n"},
      {{"--fast", "a.lvx"}, 1, "lvxpdf: unknown option --fast\n"},
      {{"a.lvx", "--output"}, 1, "lvxpdf: --output needs a file name\n"},
      {{"missing.lvx"},
       1,
       "lvxpdf: " + f.docs + "/missing.lvx: no such document, or it is empty\n"},
      {{"empty.lvx"}, 1, "lvxpdf: " + f.docs + "/empty.lvx: no such document, or it is empty\n"},
      {{"a.lvx", "--output", "a.lvx"},
       3,
       "lvxpdf: " + f.docs + "/a.lvx: is the document itself; it stays as it is\n"},
      {{"a.lvx", "--output", "no/such/folder/a.pdf"},
       3,
       "lvxpdf: " + f.docs + "/no/such/folder/a.pdf: No such file or directory\n"},
  };
  for (const auto& row : rows) {
    const RunResult run = f.Pdf(row.arguments);
    EXPECT_EQ(run.status, row.status) << ::testing::PrintToString(row.arguments);
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(Listing(f.docs), (std::set<std::string>{"a.lvx"})) << "the empty one is deleted";
  EXPECT_EQ(ReadAll(f.docs + "/a.lvx"), Lines({"*TEXT /X:20 /Y:20 /T:x"}));
  EXPECT_EQ(f.Given("xdg-open"), std::nullopt);
}

// lvxpdf writing a document of `pages` pages to out/big.pdf, which holds
// "earlier" until then: started, not waited for.
struct LongRun {
  explicit LongRun(int pages) {
    Strings lines;
    for (int page = 0; page < pages; ++page) {
      for (int line = 0; line < 30; ++line) lines.push_back("*TEXT /X:20 /Y:20 /T:riga");
      lines.push_back("*PAGE");
    }
    f.Doc("big.lvx", Lines(lines));
    f.dir.Write("out/big.pdf", "earlier");
    process.setProcessEnvironment(f.Environment({{"PATH", f.bin + ":/usr/bin:/bin"}}));
    process.setWorkingDirectory(QString::fromStdString(f.docs));
    process.start(QString::fromStdString(f.lvxpdf),
                  {"big.lvx", "--no-open", "--output", QString::fromStdString(target)});
  }

  CompanionFolder f;
  std::string out = f.dir.path() + "/out";
  std::string target = out + "/big.pdf";
  QProcess process;
};

TEST(LvxpdfE2e, TheOutputFileIsReplacedOnlyWhenThePdfIsComplete) {
  LongRun run(300);
  const CompanionFolder& f = run.f;
  const std::string& out = run.out;
  const std::string& target = run.target;
  QProcess& process = run.process;
  ASSERT_TRUE(process.waitForStarted());
  // Whenever it is looked at, the target is the earlier file or the whole PDF.
  int looks = 0;
  while (!process.waitForFinished(5)) {
    const std::string seen = ReadAll(target);
    ++looks;
    ASSERT_TRUE(seen == "earlier" || seen.find("%%EOF") != std::string::npos) << seen.size();
  }
  EXPECT_GT(looks, 0);
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(PdfProbe::Require(target).pages.size(), 300U);
  EXPECT_EQ(Listing(out), (std::set<std::string>{"big.pdf"})) << "no file of the run is left";

  // A failed run leaves it alone.
  f.dir.Write("out/big.pdf", "earlier");
  const RunResult missing = f.Pdf({"gone.lvx", "--output", target});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(ReadAll(target), "earlier");
  EXPECT_EQ(Listing(out), (std::set<std::string>{"big.pdf"}));
}

// A run stopped from outside leaves the earlier output and no file of its
// own, and says why in one line.
TEST(LvxpdfE2e, AStoppingSignalLeavesTheEarlierOutputAlone) {
  LongRun run(2000);
  const std::string& out = run.out;
  const std::string& target = run.target;
  QProcess& process = run.process;
  ASSERT_TRUE(process.waitForStarted());
  // The temporary file beside the target shows the PDF under way.
  while (Listing(out).size() < 2 && process.state() == QProcess::Running) {
    process.waitForFinished(1);
  }
  ASSERT_EQ(process.state(), QProcess::Running) << "the run ended before it could be stopped";
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 3);
  EXPECT_EQ(process.readAllStandardError().toStdString(), "lvxpdf: stopped by SIGTERM\n");
  EXPECT_EQ(ReadAll(target), "earlier");
  EXPECT_EQ(Listing(out), (std::set<std::string>{"big.pdf"}));
}

// The export step lvxprint shares refuses here too to put a PDF in place of
// a pipe or a link, and the line saying so stays one line.
TEST(LvxpdfE2e, AnOutputThatIsNoRegularFileIsRefused) {
  CompanionFolder f;
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:x"}));
  const std::string out = f.dir.path() + "/out\x1B[1m";
  fs::create_directories(out);
  const std::string pipe = out + "/pipe.pdf";
  const std::string link = out + "/link.pdf";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  fs::create_symlink("/dev/null", link);
  const std::string shown = f.dir.path() + "/out\\x1B[1m";
  for (const std::string name : {"pipe.pdf", "link.pdf"}) {
    const RunResult run = f.Pdf({"a.lvx", "--no-open", "--output", out + "/" + name});
    EXPECT_EQ(run.status, 3) << name;
    EXPECT_EQ(run.err, "lvxpdf: " + shown + "/" + name + ": not a regular file; left as it is\n");
  }
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Listing(out), (std::set<std::string>{"link.pdf", "pipe.pdf"}));
}

TEST(LvxpdfE2e, HelpAndVersion) {
  CompanionFolder f;
  const RunResult help = f.Pdf({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: lvxpdf DOCUMENT [--output FILE] [--no-open]\n", 0), 0U);
  const RunResult version = f.Pdf({"--version"});
  EXPECT_EQ(version.out, "lvxpdf " LVX_VERSION "\n");
}

}  // namespace
}  // namespace lvx::testing
