// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_reader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include "recording_view.h"
#include "temp_dir.h"

namespace lvx {
namespace {

using Calls = std::vector<std::string>;

// A reader over a document in a temporary folder; each request returns the
// texts printed in the upper view, enough to tell the pages apart.
struct ReaderFixture {
  testing::TempDir dir;
  Calls calls;
  RecordingView main{"main", calls};
  RecordingView upper{"upper", calls};
  RecordingView lower{"lower", calls};
  PageReader reader{SplitViews{main, upper, lower}, nullptr};

  void Open(const std::string& text) {
    reader.SetDocument(dir.Write("doc.lvx", text), dir.path() + "/");
  }
  Calls Request() {
    calls.clear();
    reader.ReadPage();
    Calls texts;
    for (const auto& call : calls) {
      if (call.rfind("upper PrintText ", 0) == 0) texts.push_back(call.substr(16));
      if (call.rfind("upper PrintNumber ", 0) == 0) texts.push_back(call.substr(6));
      if (call == "upper Hide") texts.push_back("<hide>");
    }
    return texts;
  }
};

std::string Text(const std::string& t) {
  return "*TEXT /X:1 /Y:1 /T:" + t + "\r\n";
}

TEST(ReadPage, ADocumentWithoutPagesIsOnePageDrawnAgainAndAgain) {
  ReaderFixture f;
  f.Open(Text("A") + Text("B"));
  EXPECT_EQ(f.Request(), (Calls{"\"A\"", "\"B\""}));
  EXPECT_FALSE(f.reader.IsOpen());
  EXPECT_EQ(f.Request(), (Calls{"\"A\"", "\"B\""}));
  EXPECT_EQ(f.reader.PageNumber, 1);
}

TEST(ReadPage, PagesAndDocumentsInOrderThenBackToTheStart) {
  ReaderFixture f;
  f.Open(Text("A") + "*PAGE\r\n" + Text("B") + "#EOD\r\n" + Text("C") + "*PAGE\r\n" + Text("D"));
  const std::pair<const char*, int> expected[] = {
      {"\"A\"", 1}, {"\"B\"", 2}, {"\"C\"", 1}, {"\"D\"", 2}, {"\"A\"", 1}};
  for (const auto& [text, page] : expected) {
    EXPECT_EQ(f.Request(), Calls{text});
    EXPECT_EQ(f.reader.PageNumber, page) << text;
  }
}

TEST(ReadPage, EndMarkFollowedByOneLineWrapsWithinTheRequest) {
  ReaderFixture f;
  f.Open(Text("A") + "#EOD\r\n" + Text("B") + "#EOD\r\n\r\n");
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), Calls{"\"B\""});
  EXPECT_EQ(f.Request(), (Calls{"<hide>", "\"A\""}));
  EXPECT_TRUE(f.reader.WrappedToStart);
  EXPECT_EQ(f.reader.PageNumber, 1);
  // Main cleared and both zoom views hidden and cleared before page 1.
  const Calls wrap(f.calls.begin(), f.calls.begin() + 5);
  EXPECT_EQ(wrap, (Calls{"main Clear", "upper Hide", "upper Clear", "lower Hide", "lower Clear"}));
}

TEST(ReadPage, EndMarkAsTheLastLineWrapsToo) {
  ReaderFixture f;
  f.Open(Text("A") + "#EOD");
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), (Calls{"<hide>", "\"A\""}));
}

TEST(ReadPage, TwoLinesAfterTheEndMarkAreOneMoreDocument) {
  ReaderFixture f;
  f.Open(Text("A") + "#EOD\r\n" + Text("B") + "REM\r\n");
  f.Request();
  EXPECT_EQ(f.Request(), Calls{"\"B\""});
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
}

TEST(ReadPage, EndMarkWithAStarEndsNothing) {
  ReaderFixture f;
  f.Open(Text("A") + "#EOD *\r\n" + Text("#EOD") + Text("B"));
  EXPECT_EQ(f.Request(), (Calls{"\"A\"", "\"#EOD\"", "\"B\""}));
}

TEST(ReadPage, PageRecordMergesItsFileAtTheTopOfTheNextPage) {
  ReaderFixture f;
  f.dir.Write("form.lvx", Text("form") + "*PAGE\r\n#EOD\r\n*MERGE /N:other.lvx\r\n");
  f.dir.Write("other.lvx", Text("nested"));
  f.Open(Text("A") + "*PAGE /N:form.lvx\r\n" + Text("B"));
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  // The merged file's own "*PAGE", "#EOD" and "*MERGE" do nothing.
  EXPECT_EQ(f.Request(), (Calls{"\"form\"", "\"B\""}));
  EXPECT_EQ(f.reader.PageNumber, 2);
}

TEST(ReadPage, MergeFileNamedInAnyCaseWithBackslashes) {
  ReaderFixture f;
  f.dir.Write("Forms/Head.LVX", Text("head"));
  f.Open("*MERGE /N:forms\\head.lvx \r\n" + Text("body"));
  EXPECT_EQ(f.Request(), (Calls{"\"head\"", "\"body\""}));
}

TEST(ReadPage, LinuxWrittenDocumentPagesAtLfLines) {
  ReaderFixture f;
  f.dir.Write("form.lvx", "*TEXT /X:1 /Y:1 /T:form\n");
  f.Open("*TEXT /X:1 /Y:1 /T:A\n*PAGE /N:form.lvx\n*TEXT /X:1 /Y:1 /T:B\n");
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), (Calls{"\"form\"", "\"B\""}));
  EXPECT_EQ(f.reader.PageNumber, 2);
}

TEST(ReadPage, MissingMergeDrawsNothingAndThePageGoesOn) {
  ReaderFixture f;
  f.Open(Text("A") + "*MERGE /N:missing.lvx\r\n*MERGE\r\n" + Text("B"));
  EXPECT_EQ(f.Request(), (Calls{"\"A\"", "\"B\""}));
}

TEST(ReadPage, MergeAndPageOnOneLineTestThePageOnTheMergedLastLine) {
  ReaderFixture f;
  f.dir.Write("plain.lvx", Text("p"));
  f.dir.Write("paged.lvx", Text("q") + "*PAGE\r\n");
  // The merged file's last line holds no "*PAGE": the page goes on.
  f.Open("*PAGE *MERGE /N:plain.lvx\r\n" + Text("A") + "*MERGE /N:paged.lvx\r\n" + Text("B"));
  EXPECT_EQ(f.Request(), (Calls{"\"p\"", "\"A\"", "\"q\""}));
  // A merged file that ends in "*PAGE" ends the page, and its last line is
  // the record whose "/N:" (none here) starts the next page.
  EXPECT_EQ(f.Request(), Calls{"\"B\""});
  EXPECT_EQ(f.reader.PageNumber, 2);
}

TEST(ReadPage, MergeFailingOnAMissingFileStillEndsThePageOfItsOwnLine) {
  ReaderFixture f;
  f.Open(Text("A") + "*PAGE *MERGE /N:missing.lvx\r\n" + Text("B"));
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), Calls{"\"B\""});
}

TEST(ReadPage, PageDirectlyBeforeTheEndMarkGivesAnEmptyPage) {
  ReaderFixture f;
  f.dir.Write("bg.lvx", Text("bg"));
  f.Open(Text("A") + "*PAGE /N:bg.lvx\r\n#EOD\r\n" + Text("C") + "REM\r\n");
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), Calls{"\"bg\""});
  EXPECT_EQ(f.reader.DocumentEnded, 1);
  EXPECT_EQ(f.Request(), Calls{"\"C\""});
}

TEST(ReadPage, PageAsTheLastLineGivesOneMorePageThenPageOne) {
  ReaderFixture f;
  f.dir.Write("bg.lvx", Text("bg"));
  f.Open(Text("A") + "*PAGE /N:bg.lvx");
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.Request(), Calls{"\"bg\""});
  EXPECT_EQ(f.reader.PageNumber, 2);
  EXPECT_FALSE(f.reader.IsOpen());
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
  EXPECT_EQ(f.reader.PageNumber, 1);
}

TEST(ReadPage, PageNumbersRestartPerDocument) {
  ReaderFixture f;
  const std::string page = "*TEXT /X:1 /Y:1 /PAGE\r\n";
  f.Open(page + "*PAGE\r\n" + page + "*PAGE\r\n" + page + "#EOD\r\n" + page + "REM\r\n");
  for (const char* n : {"1", "2", "3", "1", "1"}) {
    EXPECT_EQ(f.Request(), Calls{std::string("PrintNumber ") + n});
  }
}

// The 16-bit page number stops at its largest value: the step that would
// overflow is skipped, as every failing step of a request is.
TEST(ReadPage, PageNumberStopsAtItsLargestValue) {
  ReaderFixture f;
  const std::string page = "*TEXT /X:1 /Y:1 /PAGE\r\n";
  f.Open(page + "*PAGE\r\n" + page + "*PAGE\r\n" + page + "*PAGE\r\n" + page);
  f.Request();
  f.reader.PageNumber = 32766;
  EXPECT_EQ(f.Request(), Calls{"PrintNumber 32767"});
  EXPECT_EQ(f.Request(), Calls{"PrintNumber 32767"});
  EXPECT_EQ(f.reader.PageNumber, 32767);
  EXPECT_EQ(f.Request(), Calls{"PrintNumber 32767"});
  EXPECT_EQ(f.Request(), Calls{"PrintNumber 1"});
}

TEST(ReadPage, ThePositionCarriesAcrossPages) {
  ReaderFixture f;
  f.Open("*TEXT /X:30 /Y:40 /T:a\r\n*PAGE\r\n*TEXT /D:5 /T:b\r\n");
  f.Request();
  f.Request();
  EXPECT_EQ(f.calls[0], "main MoveTo 15 22.5");
}

TEST(ReadPage, AMissingDocumentDrawsNothingAndKeepsTheFlags) {
  ReaderFixture f;
  f.reader.SetDocument(f.dir.path() + "/none.lvx", f.dir.path() + "/");
  f.reader.PageBreakPending = 0;
  EXPECT_EQ(f.Request(), Calls{});
  EXPECT_TRUE(f.calls.empty());
  EXPECT_FALSE(f.reader.IsOpen());
}

// /proc/self/mem reads as a regular file whose first read fails (nothing is
// mapped at address 0): a document the disk cannot give back. The request
// shows a clear page, as for a missing document, and is not taken for the
// end of the file.
TEST(ReadPage, AFailedReadEndsThePageAsAMissingDocumentDoes) {
  ReaderFixture f;
  f.reader.SetDocument("/proc/self/mem", f.dir.path() + "/");
  for (int request = 0; request < 2; ++request) {
    EXPECT_EQ(f.Request(), Calls{});
    EXPECT_EQ(f.calls, (Calls{"main Clear", "upper Clear", "lower Clear"}));
    EXPECT_FALSE(f.reader.IsOpen());
    EXPECT_EQ(f.reader.PageNumber, 1);
    EXPECT_EQ(f.reader.PageBreakPending, 0);
    EXPECT_EQ(f.reader.DocumentEnded, 0);
  }
  // Once the document reads again, the next request draws its first page.
  f.Open(Text("A") + "*PAGE\r\n" + Text("B"));
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
}

TEST(ReadPage, RestartingAfterCloseAndResetDrawsPageOne) {
  ReaderFixture f;
  f.Open(Text("A") + "*PAGE\r\n" + Text("B"));
  f.Request();
  f.reader.CloseFiles();
  f.reader.ResetPageState();
  EXPECT_EQ(f.Request(), Calls{"\"A\""});
}

// A page draws at most its budget of records, the document's and merged
// ones together; the page's end after them still counts, and the next page
// has a budget of its own.
TEST(ReadPage, RecordsPastThePagesBudgetDrawNothing) {
  constexpr int kBudget = static_cast<int>(PageBudget::kRecordsPerPage);
  const struct {
    const char* name;
    int lines;      // text lines of the document
    int formLines;  // text lines of the merged file
    int merges;     // "*MERGE" lines after the document's texts
    int drawn;
  } cases[] = {
      {"within the budget", kBudget, 0, 0, kBudget},
      {"past it", kBudget + 5, 0, 0, kBudget},
      // Each merge line is a record of its own.
      {"merges", 0, 60000, 2, kBudget - 2},
      {"merges after the budget", kBudget, 10, 3, kBudget},
  };
  for (const auto& c : cases) {
    ReaderFixture f;
    std::string form;
    for (int i = 0; i < c.formLines; ++i) form += Text("m");
    f.dir.Write("form.lvx", form);
    std::string doc;
    for (int i = 0; i < c.lines; ++i) doc += Text("d");
    for (int i = 0; i < c.merges; ++i) doc += "*MERGE /N:form.lvx\r\n";
    f.Open(doc + "*PAGE\r\n" + Text("next"));
    const Calls first = f.Request();
    EXPECT_EQ(static_cast<int>(first.size()), c.drawn) << c.name;
    EXPECT_EQ(f.Request(), Calls{"\"next\""}) << c.name;
  }
}

// A page's merges share a budget of bytes, so that a document of nothing
// but merges of a large file cannot take hours per page.
TEST(MergeFile, StopsWhereThePagesBudgetRunsOut) {
  testing::TempDir dir;
  std::string form;
  for (int i = 0; i < 10; ++i) form += Text(std::to_string(i));  // 22 bytes a line
  dir.Write("form.lvx", form);
  Calls calls;
  RecordingView main("main", calls), upper("upper", calls), lower("lower", calls);
  RecordScanner scanner;
  std::int16_t page = 1;
  SplitViewHandlers handlers(scanner, SplitViews{main, upper, lower}, page, nullptr);
  PageBudget budget{50};
  scanner.SetRecord("*MERGE /N:form.lvx");
  MergeFile(scanner, handlers, dir.path(), budget);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "upper MoveTo 1 1"), 3);
  EXPECT_EQ(budget.bytes, 0U);
  calls.clear();
  scanner.SetRecord("*MERGE /N:form.lvx");
  MergeFile(scanner, handlers, dir.path(), budget);
  EXPECT_TRUE(calls.empty());
  budget.Renew();
  MergeFile(scanner, handlers, dir.path(), budget);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "upper MoveTo 1 1"), 10);
}

// Three pages of one version of a document: "<tag>1" to "<tag>3".
std::string Version(const std::string& tag) {
  return Text(tag + "1") + "*PAGE\r\n" + Text(tag + "2") + "*PAGE\r\n" + Text(tag + "3");
}

void RewriteInPlace(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST(ReadPage, ANewVersionBetweenRequestsStartsAtItsFirstPage) {
  struct Row {
    const char* name;
    std::function<void(const std::string& path)> change;
  };
  const Row rows[] = {
      {"rewritten in place, other size",
       [](const std::string& path) { RewriteInPlace(path, Version("newer")); }},
      // Same size: only the modification time tells.
      {"rewritten in place, same size",
       [](const std::string& path) {
         RewriteInPlace(path, Version("new"));
         struct timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 5, 0}};
         ::utimensat(AT_FDCWD, path.c_str(), later, 0);
       }},
      {"replaced by a rename",
       [](const std::string& path) {
         RewriteInPlace(path + ".part", Version("new"));
         std::rename((path + ".part").c_str(), path.c_str());
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ReaderFixture f;
    f.Open(Version("old"));
    EXPECT_EQ(f.Request(), (Calls{"\"old1\""}));
    EXPECT_EQ(f.Request(), (Calls{"\"old2\""}));
    ASSERT_TRUE(f.reader.IsOpen());
    row.change(f.dir.path() + "/doc.lvx");
    const Calls first = f.Request();
    ASSERT_EQ(first.size(), 1U);
    EXPECT_TRUE(first[0] == "\"new1\"" || first[0] == "\"newer1\"") << first[0];
    EXPECT_TRUE(f.reader.VersionChanged);
    EXPECT_TRUE(f.reader.StartedFile);
    EXPECT_EQ(f.reader.PageNumber, 1);
    const Calls second = f.Request();
    ASSERT_EQ(second.size(), 1U);
    EXPECT_EQ(second[0].substr(second[0].size() - 2), "2\"");
    EXPECT_FALSE(f.reader.VersionChanged);
  }
}

// A view that rewrites the document when it prints a given text: the file
// changes while a page is being read.
class RewritingView : public RecordingView {
 public:
  RewritingView(std::vector<std::string>& sink, std::string trigger, std::function<void()> rewrite)
      : RecordingView("upper", sink), trigger_(std::move(trigger)), rewrite_(std::move(rewrite)) {}
  void PrintText(std::string_view text) override {
    RecordingView::PrintText(text);
    if (text == trigger_ && rewrite_) std::exchange(rewrite_, nullptr)();
  }

 private:
  std::string trigger_;
  std::function<void()> rewrite_;
};

TEST(ReadPage, AFileRewrittenWhileAPageIsReadIsDrawnFromTheNewVersionOnly) {
  testing::TempDir dir;
  const std::string path = dir.Write("doc.lvx", Text("old1") + Text("old1b") + "*PAGE\r\n");
  Calls calls;
  RecordingView main("main", calls);
  RecordingView lower("lower", calls);
  RewritingView upper(calls, "old1", [&] {
    RewriteInPlace(path, Text("new1") + Text("new1b") + Text("new1c") + "*PAGE\r\n");
  });
  PageReader reader(SplitViews{main, upper, lower}, nullptr);
  reader.SetDocument(path, dir.path() + "/");
  reader.ReadPage();
  // What counts is what was drawn after the views were last cleared.
  const auto cleared = std::find(calls.rbegin(), calls.rend(), "upper Clear");
  ASSERT_NE(cleared, calls.rend());
  Calls texts;
  for (auto call = cleared.base(); call != calls.end(); ++call) {
    if (call->rfind("upper PrintText ", 0) == 0) texts.push_back(call->substr(16));
  }
  EXPECT_EQ(texts, (Calls{"\"new1\"", "\"new1b\"", "\"new1c\""}));
  EXPECT_TRUE(reader.VersionChanged);
}

TEST(ReadPage, ADeletedDocumentDrawsNothingAndComesBackAtItsFirstPage) {
  ReaderFixture f;
  f.Open(Version("old"));
  EXPECT_EQ(f.Request(), (Calls{"\"old1\""}));
  const std::string path = f.dir.path() + "/doc.lvx";
  ASSERT_EQ(::unlink(path.c_str()), 0);
  EXPECT_EQ(f.Request(), Calls{});
  EXPECT_FALSE(f.reader.Version().has_value());
  f.dir.Write("doc.lvx", Version("new"));
  EXPECT_EQ(f.Request(), (Calls{"\"new1\""}));
}

}  // namespace
}  // namespace lvx
