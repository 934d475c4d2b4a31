// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxprint against what goes wrong around it: an output name that
// is no regular file, a run stopped by a signal, a document that fails to
// read, names holding control characters.
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "lvxprint_folder.h"
#include "pdf_check.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;

// A document that takes lvxprint a while: `pages` pages of 40 lines.
std::string LongDocument(int pages) {
  std::string text;
  for (int page = 0; page < pages; ++page) {
    for (int line = 0; line < 40; ++line) text += "*TEXT /X:20 /Y:20 /T:line\r\n";
    text += "*PAGE\r\n";
  }
  return text;
}

bool CanTrace() {
  return std::system("strace -qq -o /dev/null true >/dev/null 2>&1") == 0;
}

class LvxPrintFaults : public ::testing::Test {
 protected:
  RunResult ToFile(const std::vector<std::string>& arguments) const {
    return f.Run(arguments, {{"LVXPRINT_OUTPUT", output}});
  }

  // Runs lvxprint with `arguments` to the output file, under strace with
  // `options`.
  RunResult Traced(const QStringList& options, const QStringList& arguments) const {
    QProcess process;
    // The leak check of a sanitizer build cannot run under a tracer.
    process.setProcessEnvironment(
        f.Environment({{"LVXPRINT_OUTPUT", output}, {"ASAN_OPTIONS", "detect_leaks=0"}}));
    process.setWorkingDirectory(QString::fromStdString(f.docs));
    process.start("strace", QStringList{"-qq"} + options +
                                QStringList{QString::fromStdString(f.binary)} + arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
      return {};
    }
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
  }

  const LvxPrintFolder f;
  const std::string out = f.dir.path() + "/out";
  const std::string output = out + "/job.pdf";

  void SetUp() override { fs::create_directory(out); }
};

// The red-team case was LVXPRINT_OUTPUT=/dev/null as root: the device became
// a PDF file. A copy of that device, pipes and links stand in for it here.
TEST_F(LvxPrintFaults, AnOutputThatIsNoRegularFileIsRefusedAndLeftAlone) {
  f.Doc("a.lvx", "*TEXT /X:20 /Y:20 /T:Hello\r\n");
  const std::string kept = f.dir.Write("kept.pdf", "kept");
  const struct {
    const char* what;
    std::function<bool()> make;
  } rows[] = {
      {"device", [&] { return ::mknod(output.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
      {"pipe", [&] { return ::mkfifo(output.c_str(), 0644) == 0; }},
      {"link to a device", [&] { return ::symlink("/dev/null", output.c_str()) == 0; }},
      {"link to a file", [&] { return ::symlink(kept.c_str(), output.c_str()) == 0; }},
      {"dangling link", [&] { return ::symlink("/nowhere/x.pdf", output.c_str()) == 0; }},
      {"folder", [&] { return fs::create_directory(output); }},
  };
  for (const auto& row : rows) {
    fs::remove_all(output);
    // Only root may make a device node; the other rows still run.
    if (!row.make()) continue;
    const auto type = fs::symlink_status(output).type();
    const RunResult run = ToFile({"a.lvx"});
    EXPECT_EQ(run.status, 3) << row.what;
    EXPECT_EQ(run.err, "lvxprint: " + output + ": not a regular file; left as it is\n") << row.what;
    EXPECT_EQ(fs::symlink_status(output).type(), type) << row.what;
    EXPECT_EQ(Listing(out), std::set<std::string>{"job.pdf"}) << row.what;
  }
  EXPECT_EQ(ReadAll(kept), "kept");
}

TEST_F(LvxPrintFaults, AReplacedOutputKeepsItsPermissions) {
  f.Doc("a.lvx", "*TEXT /X:20 /Y:20 /T:Hello\r\n");
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0600), fs::perms(0664)}) {
    f.dir.Write("out/job.pdf", "earlier");
    fs::permissions(output, mode);
    const RunResult run = ToFile({"a.lvx"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(PdfFaults(output), "");
    EXPECT_EQ(fs::status(output).permissions(), mode);
  }
}

// A run stopped from outside leaves neither its temporary file nor a job,
// and says why in one line.
TEST_F(LvxPrintFaults, AStoppingSignalRemovesTheUnfinishedJob) {
  f.Doc("big.lvx", LongDocument(40));
  const struct {
    int signal;
    const char* name;
  } rows[] = {{SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}, {SIGHUP, "SIGHUP"}, {SIGPIPE, "SIGPIPE"}};
  for (const auto& row : rows) {
    QProcess process;
    process.setProcessEnvironment(f.Environment({{"LVXPRINT_OUTPUT", output}}));
    process.setWorkingDirectory(QString::fromStdString(f.docs));
    process.start(QString::fromStdString(f.binary), {"big.lvx", "/C:99"});
    ASSERT_TRUE(process.waitForStarted());
    // The temporary file in the output's folder shows the job under way.
    bool pending = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!pending && process.state() == QProcess::Running &&
           std::chrono::steady_clock::now() < deadline) {
      pending = !Listing(out).empty();
      if (!pending) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(pending) << "the run ended before it could be stopped";
    ::kill(static_cast<pid_t>(process.processId()), row.signal);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << row.name;
    EXPECT_EQ(process.exitCode(), 3) << row.name;
    EXPECT_EQ(process.readAllStandardError().toStdString(),
              std::string("lvxprint: stopped by ") + row.name + "\n");
    EXPECT_EQ(Listing(out), std::set<std::string>{}) << row.name;
  }
}

// The limit on file sizes stops the writing of the job with SIGXFSZ.
TEST_F(LvxPrintFaults, AFileSizeLimitRemovesTheUnfinishedJob) {
  // Lines that differ from page to page: the file stores what pages have
  // in common once.
  std::string doc;
  for (int line = 0; line < 40 * 40; ++line) {
    doc += "*TEXT /X:20 /Y:" + std::to_string(20 + line % 40 * 5) + " /T:line " +
           std::to_string(line * 7919) + (line % 40 == 39 ? "\r\n*PAGE\r\n" : "\r\n");
  }
  f.Doc("big.lvx", doc);
  QProcess process;
  process.setProcessEnvironment(f.Environment({{"LVXPRINT_OUTPUT", output}}));
  process.setWorkingDirectory(QString::fromStdString(f.docs));
  process.start("prlimit",
                {"--fsize=20000", "--", QString::fromStdString(f.binary), "big.lvx", "/C:3"});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 3);
  EXPECT_EQ(process.readAllStandardError().toStdString(), "lvxprint: stopped by SIGXFSZ\n");
  EXPECT_EQ(Listing(out), std::set<std::string>{});
}

// strace makes the read of the document fail once with EIO (the disk's
// answer to a bad sector), in the counting pass or while printing.
TEST_F(LvxPrintFaults, AReadErrorInTheDocumentFailsTheRun) {
  if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here";
  // Four reads of 64 KiB per pass.
  const std::string doc = f.Doc("big.lvx", LongDocument(200));
  for (const int when : {1, 3, 6, 9}) {
    const RunResult run =
        Traced({"-o", "/dev/null", "-P", QString::fromStdString(doc), "-e", "trace=read", "-e",
                QString("inject=read:error=EIO:when=%1").arg(when)},
               {"big.lvx"});
    EXPECT_EQ(run.status, 2) << "read " << when;
    EXPECT_EQ(run.err, "lvxprint: " + doc + ": the document could not be read; nothing printed\n")
        << "read " << when;
    EXPECT_EQ(Listing(out), std::set<std::string>{}) << "read " << when;
  }
}

// The job reaches the disk before it takes the output's name, and the new
// name reaches it after: a crash at any moment leaves the old file or the
// whole new one.
TEST_F(LvxPrintFaults, TheOutputIsFlushedThenRenamedThenItsFolderFlushed) {
  if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here";
  f.Doc("a.lvx", "*TEXT /X:20 /Y:20 /T:Hello\r\n");
  f.dir.Write("out/job.pdf", "earlier");
  const std::string log = f.dir.path() + "/strace.log";
  const RunResult run = Traced(
      {"-o", QString::fromStdString(log), "-e", "trace=openat,fsync,rename,renameat,renameat2"},
      {"a.lvx"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PdfFaults(output), "");
  // The temporary file's descriptor, its flush, the rename, the folder's
  // descriptor and its flush, in this order.
  const std::vector<std::string> steps = {
      R"(openat\(AT_FDCWD, ")" + out + R"(/\.job\.pdf\.[^"]+", [^)]*O_EXCL[^)]*\) = (\d+))",
      R"(fsync\((\d+)\) += 0)",
      R"(rename(at2?)?\(.*, ")" + output + R"(".*\) += 0)",
      R"(openat\(AT_FDCWD, ")" + out + R"(", O_RDONLY\|[^)]*O_DIRECTORY[^)]*\) = (\d+))",
      R"(fsync\((\d+)\) += 0)",
  };
  std::istringstream lines(ReadAll(log));
  std::size_t step = 0;
  std::string descriptor;
  std::smatch match;
  for (std::string line; step < steps.size() && std::getline(lines, line);) {
    if (!std::regex_search(line, match, std::regex(steps[step]))) continue;
    // Each flush is of the descriptor opened just before it.
    if (step % 3 == 1 && match[1] != descriptor) continue;
    descriptor = match[match.size() - 1];
    ++step;
  }
  EXPECT_EQ(step, steps.size()) << "missing: " << steps[std::min(step, steps.size() - 1)] << "\n"
                                << ReadAll(log);
}

// A flush that fails is a save that fails. strace makes the job's flush
// fail (EIO, as a disk that lost the writes answers): the old output stays
// and nothing of the run is left. A failing flush of the folder after the
// rename leaves the new file, and the run says it may not be on the disk.
TEST_F(LvxPrintFaults, AFailedFlushFailsTheRun) {
  if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here";
  f.Doc("a.lvx", "*TEXT /X:20 /Y:20 /T:Hello\r\n");
  const struct {
    int when;
    bool replaced;
    std::string err;
  } rows[] = {
      {1, false, "lvxprint: " + output + ": Input/output error\n"},
      {2, true,
       "lvxprint: " + output +
           ": written, but its folder could not be flushed to disk: Input/output error\n"},
  };
  for (const auto& row : rows) {
    f.dir.Write("out/job.pdf", "earlier");
    const RunResult run = Traced({"-o", "/dev/null", "-e", "trace=fsync", "-e",
                                  QString("inject=fsync:error=EIO:when=%1").arg(row.when)},
                                 {"a.lvx"});
    EXPECT_EQ(run.status, 3) << row.when;
    EXPECT_EQ(run.err, row.err) << row.when;
    if (row.replaced) {
      EXPECT_EQ(PdfFaults(output), "");
    } else {
      EXPECT_EQ(ReadAll(output), "earlier");
    }
    EXPECT_EQ(Listing(out), std::set<std::string>{"job.pdf"}) << row.when;
  }
}

TEST_F(LvxPrintFaults, NamesWithControlCharactersStayOnOneLine) {
  const struct {
    std::string document;
    std::string output;
    int status;
    std::string err;
  } rows[] = {
      {"no\nsuch\x1B[2J.lvx", output, 1,
       "lvxprint: " + f.docs + "/no\\nsuch\\x1B[2J.lvx: no such document, or it is empty\n"},
      {"a.lvx", out + "/gone\r\x1B]0;x\x07/job.pdf", 3,
       "lvxprint: " + out + "/gone\\r\\x1B]0;x\\x07/job.pdf: No such file or directory\n"},
  };
  f.Doc("a.lvx", "*TEXT /X:20 /Y:20 /T:Hello\r\n");
  for (const auto& row : rows) {
    const RunResult run = f.Run({row.document}, {{"LVXPRINT_OUTPUT", row.output}});
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace lvx::testing
