// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxprint, from a program folder of its own, without a display:
// the PDF files it writes are read back with poppler's tools.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "lvxprint_folder.h"
#include "pdf_probe.h"
#include "program_folders.h"
#include "settings_writer.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;

constexpr double kNearMm = 0.5;

std::vector<std::string> Orientations(const PdfProbe& pdf) {
  std::vector<std::string> orientations;
  for (const PdfPage& page : pdf.pages) orientations.push_back(page.Landscape() ? "L" : "P");
  return orientations;
}

std::vector<std::string> Repeated(const std::vector<std::string>& pages, int times) {
  std::vector<std::string> all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), pages.begin(), pages.end());
  return all;
}

class LvxPrintE2e : public ::testing::Test {
 protected:
  // Runs lvxprint with LVXPRINT_OUTPUT naming `output`.
  RunResult ToFile(const std::vector<std::string>& arguments) const {
    return f.Run(arguments, {{"LVXPRINT_OUTPUT", output}});
  }

  const LvxPrintFolder f;
  const std::string output = f.dir.path() + "/job.pdf";
};

TEST_F(LvxPrintE2e, AnEmptySettingsFileGivesOneCopyOnA4AtFullScale) {
  f.Settings("");
  f.Doc("a.lvx", Lines({"*FONT /N:Arial /S:12", "*TEXT /X:20 /Y:30 /T:Hello",
                        "*TEXT /X:100 /Y:200 /T:World"}));
  const RunResult run = ToFile({"a.lvx"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");

  const PdfProbe pdf = PdfProbe::Require(output);
  ASSERT_EQ(pdf.pages.size(), 1U);
  const PdfPage& page = pdf.pages[0];
  EXPECT_NEAR(page.widthMm, 210.0, kNearMm);
  EXPECT_NEAR(page.heightMm, 297.0, kNearMm);
  // Millimetres from the sheet's top-left corner: the cell's top at /Y:.
  const PdfWord* hello = page.Find("Hello");
  ASSERT_NE(hello, nullptr) << page.Text();
  EXPECT_NEAR(hello->left, 20.0, kNearMm);
  EXPECT_NEAR(hello->top, 30.0, kNearMm);
  // 12 points on paper: Arial's cell is 1.12 times its size high.
  EXPECT_NEAR(hello->bottom - hello->top, 12 * 1.117 * 25.4 / 72, 0.2);
  const PdfWord* world = page.Find("World");
  ASSERT_NE(world, nullptr);
  EXPECT_NEAR(world->left, 100.0, kNearMm);
  EXPECT_NEAR(world->top, 200.0, kNearMm);
}

const std::string kTwoPages =
    Lines({"*TEXT /X:20 /Y:20 /T:one", "*TEXT /X:180 /Y:280 /PAGE", "*PAGE",
           "*TEXT /X:20 /Y:20 /T:two", "*TEXT /X:180 /Y:280 /PAGE"});

TEST_F(LvxPrintE2e, CopiesComeCollatedAndCountTheirOwnPages) {
  f.Doc("a.lvx", kTwoPages);
  // The command line wins over the settings.
  f.Settings(PrinterSettingsText("Laser", "5"));
  EXPECT_EQ(ToFile({"a.lvx", "/C:3"}).status, 0);
  EXPECT_EQ(PdfProbe::Require(output).Texts(), Repeated({"one 1", "two 2"}, 3));

  f.Settings(PrinterSettingsText("Laser", "2"));
  EXPECT_EQ(ToFile({"a.lvx"}).status, 0);
  EXPECT_EQ(PdfProbe::Require(output).Texts(), Repeated({"one 1", "two 2"}, 2));

  // Out of range: one copy.
  EXPECT_EQ(ToFile({"a.lvx", "/C:100"}).status, 0);
  EXPECT_EQ(PdfProbe::Require(output).pages.size(), 2U);
}

TEST_F(LvxPrintE2e, EveryDocumentOfTheFileInAllItsCopies) {
  f.Doc("two.lvx",
        Lines({"*TEXT /X:20 /Y:20 /T:first-a", "*PAGE", "*TEXT /X:20 /Y:20 /T:first-b", "#EOD",
               "*TEXT /X:20 /Y:20 /T:second", "*TEXT /X:20 /Y:40 /T:*#EOD-is-text", "#EOD"}));
  const RunResult run = ToFile({"two.lvx", "/C:2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PdfProbe::Require(output).Texts(),
            (std::vector<std::string>{"first-a", "first-b", "first-a", "first-b",
                                      "second *#EOD-is-text", "second *#EOD-is-text"}));
}

TEST_F(LvxPrintE2e, OrientationActsOnThePageWhereItStands) {
  f.Doc("o.lvx", Lines({"*ORIENTATION /H", "*TEXT /X:20 /Y:30 /T:wide", "*PAGE", "*ORIENTATION /V",
                        "*TEXT /X:20 /Y:30 /T:tall", "*PAGE", "*ORIENTATION /V /H",
                        "*TEXT /X:250 /Y:180 /T:far"}));
  const RunResult run = ToFile({"o.lvx", "/C:2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const PdfProbe pdf = PdfProbe::Require(output);
  EXPECT_EQ(Orientations(pdf), Repeated({"L", "P", "L"}, 2));
  EXPECT_EQ(pdf.Texts(), Repeated({"wide", "tall", "far"}, 2));
  const PdfPage& wide = pdf.pages.at(0);
  EXPECT_NEAR(wide.widthMm, 297.0, kNearMm);
  EXPECT_NEAR(wide.heightMm, 210.0, kNearMm);
  ASSERT_NE(wide.Find("wide"), nullptr);
  EXPECT_NEAR(wide.Find("wide")->left, 20.0, kNearMm);
  EXPECT_NEAR(wide.Find("wide")->top, 30.0, kNearMm);
  // Only a landscape sheet reaches 250 mm across.
  ASSERT_NE(pdf.pages.at(2).Find("far"), nullptr);
  EXPECT_NEAR(pdf.pages.at(2).Find("far")->left, 250.0, kNearMm);
}

TEST_F(LvxPrintE2e, APlatformWithoutFontsStillGivesTheJob) {
  f.Doc("a.lvx", Lines({"*FONT /N:Arial /S:12", "*TEXT /X:20 /Y:30 /T:Hello", "*PAGE",
                        "*BOX /X:10 /Y:10 /W:50 /H:20 /F"}));
  const RunResult run =
      f.Run({"a.lvx"}, {{"LVXPRINT_OUTPUT", output}, {"QT_QPA_PLATFORM", "minimal"}});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PdfProbe::Require(output).pages.size(), 2U);
}

TEST_F(LvxPrintE2e, NoInheritedPlatformOrDisplayIsNeeded) {
  f.Doc("a.lvx", Lines({"*FONT /N:Arial /S:12", "*TEXT /X:20 /Y:30 /T:Hello"}));
  // As cron, ssh or a desktop session's environment hands them on.
  const std::map<std::string, std::string> rows[] = {
      {{"QT_QPA_PLATFORM", "xcb"}},
      {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":1234"}},
      {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "wayland-lvx-none"}},
      {{"QT_QPA_PLATFORM", "xcb"}, {"QT_QPA_PLATFORMTHEME", "gtk3"}},
      {{"QT_QPA_PLATFORM", "no-such-platform"}},
  };
  for (auto env : rows) {
    const std::string described = env.begin()->second;
    env.emplace("LVXPRINT_OUTPUT", output);
    fs::remove(output);
    const RunResult run = f.Run({"a.lvx"}, env);
    ASSERT_EQ(run.status, 0) << described << ": " << run.err;
    EXPECT_EQ(run.err, "") << described;
    ASSERT_NE(PdfProbe::Require(output).pages.at(0).Find("Hello"), nullptr) << described;
  }
}

TEST_F(LvxPrintE2e, APictureOnEveryPageIsStoredOnceAndLossless) {
  QImage logo(300, 120, QImage::Format_RGB32);
  logo.fill(Qt::white);
  QPainter painter(&logo);
  painter.fillRect(10, 10, 120, 100, QColor(0, 70, 160));
  painter.fillRect(150, 40, 140, 40, QColor(255, 140, 0));
  painter.end();
  ASSERT_TRUE(logo.save(QString::fromStdString(f.docs + "/logo.bmp"), "BMP"));
  f.Doc("p.lvx", Lines({"*IMAGE /X:10 /Y:12 /N:logo.bmp", "*TEXT /X:20 /Y:100 /T:one", "*PAGE",
                        "*IMAGE /X:10 /Y:12 /N:LOGO.BMP", "*PAGE",
                        "*IMAGE /X:50 /Y:50 /N:missing.bmp", "*IMAGE /X:60 /Y:60 /N:logo.bmp"}));
  const RunResult run = ToFile({"p.lvx", "/C:2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const PdfProbe pdf = PdfProbe::Require(output);
  ASSERT_EQ(pdf.pages.size(), 6U);
  ASSERT_EQ(pdf.images.size(), 6U);
  std::set<int> objects;
  for (const PdfImage& image : pdf.images) {
    objects.insert(image.object);
    EXPECT_EQ(image.encoding, "image") << "lossless, not " << image.encoding;
    EXPECT_EQ(image.width, 300);
    EXPECT_EQ(image.height, 120);
    // At its own size: 300 pixels at 96 dpi.
    EXPECT_EQ(image.xPpi, 96);
    EXPECT_EQ(image.yPpi, 96);
  }
  EXPECT_EQ(objects.size(), 1U) << "one picture, stored once";
}

TEST_F(LvxPrintE2e, NoUsableDocumentWritesNothing) {
  f.Doc("empty.lvx", "");
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } rows[] = {
      {{}, "lvxprint: no document given\n"},
      {{"missing.lvx"}, "lvxprint: " + f.docs + "/missing.lvx: no such document, or it is empty\n"},
      {{"empty.lvx", "/C:2"},
       // The blank before "/C:" belongs to the path.
       "lvxprint: " + f.docs + "/empty.lvx : no such document, or it is empty\n"},
  };
  for (const auto& row : rows) {
    const RunResult run = ToFile(row.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, row.message);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(output));
  }
  EXPECT_FALSE(fs::exists(f.docs + "/empty.lvx")) << "the check deletes an empty document";

  // An earlier job in the output file stays as it was.
  f.dir.Write("job.pdf", "earlier");
  EXPECT_EQ(ToFile({"missing.lvx"}).status, 1);
  EXPECT_EQ(ReadAll(output), "earlier");
  EXPECT_EQ(Listing(f.dir.path()), (std::set<std::string>{"app", "docs", "job.pdf", "runtime"}));
}

// Runs here have no scheduler to reach: that is no "no printer installed"
// (see lvxprint_server_tests for a scheduler without queues).
TEST_F(LvxPrintE2e, WithoutASchedulerNothingIsPrintedNorWrittenBeside) {
  f.Doc("inv.lvx", kTwoPages);
  f.Doc("inv.pdf", "mine");
  for (int run = 0; run < 2; ++run) {
    const RunResult result = f.Run({"inv.lvx"});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err,
              "lvxprint: cannot reach the print server " + f.dir.path() + "/no-cups.sock\n");
  }
  EXPECT_EQ(ReadAll(f.docs + "/inv.pdf"), "mine");
  EXPECT_EQ(Listing(f.docs), (std::set<std::string>{"inv.lvx", "inv.pdf"}));
}

TEST_F(LvxPrintE2e, RelativePathsAreTakenInTheFolderItStartsIn) {
  const std::string start = f.dir.path() + "/start";
  fs::create_directories(start);
  f.Doc("sub/b.lvx", Lines({"*MERGE /N:part.lvx", "*TEXT /X:20 /Y:40 /T:own"}));
  f.Doc("sub/part.lvx", Lines({"*TEXT /X:20 /Y:20 /T:merged"}));
  const RunResult run = f.Run({"../docs/sub/b.lvx"}, {{"LVXPRINT_OUTPUT", "out.pdf"}}, start);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PdfProbe::Require(start + "/out.pdf").Texts(),
            (std::vector<std::string>{"merged own"}));
}

// A long run that the test can catch while it reads the document.
class ChangedDocumentE2e : public LvxPrintE2e {
 protected:
  ChangedDocumentE2e() {
    std::vector<std::string> lines;
    for (int page = 0; page < 40; ++page) {
      for (int line = 0; line < 40; ++line) lines.push_back("*TEXT /X:20 /Y:20 /T:line");
      lines.push_back("*PAGE");
    }
    doc = f.Doc("big.lvx", Lines(lines));
  }

  // Runs lvxprint on the document in 99 copies and calls `change` once it
  // has the document open; its exit status.
  template <typename Change>
  RunResult RunAndChange(Change change) const {
    QProcess process;
    process.setProcessEnvironment(f.Environment({{"LVXPRINT_OUTPUT", output}}));
    process.setWorkingDirectory(QString::fromStdString(f.docs));
    process.start(QString::fromStdString(f.binary), {"big.lvx", "/C:99"});
    EXPECT_TRUE(process.waitForStarted());
    const std::string fds = "/proc/" + std::to_string(process.processId()) + "/fd";
    bool changed = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!changed && process.state() == QProcess::Running &&
           std::chrono::steady_clock::now() < deadline) {
      std::error_code error;
      for (const auto& fd : fs::directory_iterator(fds, error)) {
        if (fs::read_symlink(fd.path(), error) == fs::path(doc)) {
          change();
          changed = true;
          break;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(changed) << "the run ended before the document could be changed";
    process.waitForFinished(120000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
  }

  std::string doc;
};

TEST_F(ChangedDocumentE2e, ADocumentChangedWhilePrintingGivesNoJob) {
  const RunResult run =
      RunAndChange([&] { std::ofstream(doc, std::ios::app) << "*TEXT /T:late\r\n"; });
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "lvxprint: " + doc +
                         " : the document changed or vanished while printing; "
                         "nothing printed\n");
  EXPECT_FALSE(fs::exists(output));
  EXPECT_EQ(Listing(f.dir.path()), (std::set<std::string>{"app", "docs", "runtime"}));
}

TEST_F(ChangedDocumentE2e, ADocumentThatVanishesWhilePrintingGivesNoJob) {
  const RunResult run = RunAndChange([&] { fs::remove(doc); });
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(fs::exists(output));
  EXPECT_EQ(Listing(f.dir.path()), (std::set<std::string>{"app", "docs", "runtime"}));
}

TEST_F(LvxPrintE2e, AnInstalledProgramTakesTheUsersSettingsAndWritesNothingBesideIt) {
  f.dir.Write(std::string("app/") + kSharedFolderMark, "");
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:30 /T:Hello"}));
  const std::string config = f.dir.path() + "/config";
  const auto Pages = [&] {
    const RunResult run =
        f.Run({"a.lvx"}, {{"LVXPRINT_OUTPUT", output}, {"XDG_CONFIG_HOME", config}});
    EXPECT_EQ(run.status, 0) << run.err;
    return PdfProbe::Require(output).pages.size();
  };
  EXPECT_EQ(Pages(), 1U);
  EXPECT_EQ(Listing(f.app), (std::set<std::string>{"lvxprint", kSharedFolderMark}));
  EXPECT_FALSE(fs::exists(config));
  // A choice made for everyone beside the program, then the user's own.
  f.Settings("COPIES=2\r\n");
  EXPECT_EQ(Pages(), 2U);
  f.dir.Write("config/lvx/lvxprint.ini", "COPIES=3\r\n");
  EXPECT_EQ(Pages(), 3U);
}

TEST_F(LvxPrintE2e, HelpAndVersionAloneOnTheCommandLine) {
  const RunResult help = f.Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: lvxprint DOCUMENT [/C:COPIES]\n", 0), 0U) << help.out;
  const RunResult version = f.Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "lvxprint " LVX_VERSION "\n");
  // Anything more is a document path.
  const RunResult more = ToFile({"--help", "/C:2"});
  EXPECT_EQ(more.status, 1);
  EXPECT_EQ(more.out, "");
}

}  // namespace
}  // namespace lvx::testing
