// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_run.h"

#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <functional>

#include "recording_view.h"
#include "temp_dir.h"

namespace lvx {
namespace {

// Records page breaks and orientation changes among the drawing calls.
class RecordingControl : public SheetControl {
 public:
  explicit RecordingControl(std::vector<std::string>& sink) : sink_(sink) {}
  void SetOrientation(std::int16_t orientation) override {
    sink_.push_back("sheet SetOrientation " + std::to_string(orientation));
  }
  void NewPage() override {
    sink_.push_back("sheet NewPage");
    if (onNewPage) onNewPage();
  }
  std::function<void()> onNewPage;

 private:
  std::vector<std::string>& sink_;
};

struct PrintFixture {
  testing::TempDir dir;
  std::vector<std::string> calls;
  RecordingView view{"sheet", calls};
  RecordingControl control{calls};
  PrintRun run{view, control, nullptr};

  // The printed texts and numbers, "|" for each new page, "O<n>" for
  // each orientation change.
  std::string Print(const std::string& doc, int copies) {
    const auto path = dir.Write("doc.lvx", doc);
    EXPECT_TRUE(run.Run(path, dir.path(), copies));
    std::string out;
    for (const auto& call : calls) {
      if (call.rfind("sheet PrintText \"", 0) == 0) out += call.substr(17, call.size() - 18);
      if (call.rfind("sheet PrintNumber ", 0) == 0) out += call.substr(18);
      if (call == "sheet NewPage") out += "|";
      if (call.rfind("sheet SetOrientation ", 0) == 0) out += "O" + call.substr(21);
    }
    return out;
  }
};

std::string Text(const std::string& t) {
  return "*TEXT /X:1 /Y:1 /T:" + t + "\r\n";
}
const std::string kPageNumber = "*TEXT /X:1 /Y:1 /PAGE\r\n";

TEST(PrintRun, CopiesAreCollatedAndCountTheirOwnPageNumbers) {
  PrintFixture f;
  const std::string doc = Text("a") + kPageNumber + "*PAGE\r\n" + Text("b") + kPageNumber +
                          "*PAGE\r\n" + Text("c") + kPageNumber;
  EXPECT_EQ(f.Print(doc, 2), "a1|b2|c3|a1|b2|c3");
}

TEST(PrintRun, DocumentsInOrderEachInAllCopies) {
  PrintFixture f;
  EXPECT_EQ(f.Print(Text("a") + "#EOD\r\n" + Text("b") + Text("c"), 2), "a|a|bc|bc");
}

TEST(PrintRun, ASingleLineAfterTheLastEndMarkIsNotPrinted) {
  PrintFixture one;
  EXPECT_EQ(one.Print(Text("a") + "#EOD\r\n" + Text("b"), 1), "a");
  PrintFixture two;
  EXPECT_EQ(two.Print(Text("a") + "#EOD\r\n" + Text("b") + "REM\r\n", 1), "a|b");
}

TEST(PrintRun, EndMarksWithAStarAndEmptyDocuments) {
  PrintFixture star;
  EXPECT_EQ(star.Print(Text("a") + "#EOD *\r\n" + Text("#EOD"), 1), "a#EOD");
  // A document whose first line is its end mark draws nothing, but its page
  // breaks between copies and before the next document still happen.
  PrintFixture empty;
  EXPECT_EQ(empty.Print("#EOD\r\n" + Text("b") + Text("c"), 2), "||bc|bc");
}

TEST(PrintRun, PageRecordMergesItsFileAtTheTopOfTheNextPage) {
  PrintFixture f;
  f.dir.Write("form.lvx", Text("form"));
  EXPECT_EQ(f.Print(Text("a") + "*PAGE /N:form.lvx\r\n" + Text("b"), 2), "a|formb|a|formb");
}

TEST(PrintRun, AfterAMergeTheMergedFilesLastLineDecidesThePageBreak) {
  PrintFixture ends;
  ends.dir.Write("m.lvx", Text("m") + "*TEXT /X:1 /Y:1 /T:*PAGE\r\n");
  EXPECT_EQ(ends.Print("*MERGE /N:m.lvx\r\n" + Text("after"), 1), "m*PAGE|after");
  // A page record that merges a file whose last line is no page record
  // starts no page: the test looks at the record after the merge.
  PrintFixture plain;
  plain.dir.Write("m.lvx", Text("m"));
  EXPECT_EQ(plain.Print("*MERGE *PAGE /N:m.lvx\r\n" + Text("after"), 1), "mafter");
}

TEST(PrintRun, EndMarksInAnyLetterCaseAndLineEnd) {
  PrintFixture lower;
  EXPECT_EQ(lower.Print(Text("a") + "  #eod\r\n" + Text("b") + Text("c"), 1), "a|bc");
  PrintFixture bareCr;
  EXPECT_EQ(bareCr.Print("*TEXT /X:1 /Y:1 /T:a\r#EOD\r*TEXT /X:1 /Y:1 /T:b\rREM\r", 2), "a|a|b|b");
}

TEST(PrintRun, LinuxWrittenDocumentsAndMergedFilesEndLinesAtLf) {
  const struct {
    const char* name;
    std::string doc;
    std::string merged;
    std::string printed;
  } cases[] = {
      {"lf document", "*TEXT /X:1 /Y:1 /T:a\n#EOD\n*TEXT /X:1 /Y:1 /T:b\nREM\n", "", "a|b"},
      {"lf document, crlf merge", "*MERGE /N:m.lvx\n*PAGE\n*TEXT /X:1 /Y:1 /T:b\n",
       "*TEXT /X:1 /Y:1 /T:m\r\n*TEXT /X:1 /Y:1 /T:n\r\n", "mn|b"},
      {"crlf document, lf merge", "*MERGE /N:m.lvx\r\n" + Text("b"),
       "*TEXT /X:1 /Y:1 /T:m\n*TEXT /X:1 /Y:1 /T:n\n", "mnb"},
      // A CR first: the LF stays inside the record, as the format has it.
      {"crlf document keeps its lfs", Text("a") + "*PAGE\n*TEXT /X:1 /Y:1 /T:b\r\n", "", "ab|"},
  };
  for (const auto& c : cases) {
    PrintFixture f;
    if (!c.merged.empty()) f.dir.Write("m.lvx", c.merged);
    EXPECT_EQ(f.Print(c.doc, 1), c.printed) << c.name;
  }
}

TEST(PrintRun, OrientationActsWhereItStandsInEveryCopy) {
  PrintFixture f;
  const std::string doc = "*ORIENTATION /H\r\n" + Text("a") + "*PAGE\r\n*ORIENTATION /V /H\r\n" +
                          Text("b") + "*PAGE\r\n*ORIENTATION\r\n" + Text("c");
  EXPECT_EQ(f.Print(doc, 2), "O2a|O2b|O1c|O2a|O2b|O1c");
}

TEST(PrintRun, DrawsOnceAtFullScale) {
  PrintFixture f;
  f.Print(
      "*BOX /X:10 /Y:130 /W:20 /H:30\r\n*FONT /N:Arial /S:12\r\n*TEXT /X:20 /Y:30 /T:a\r\n"
      "*TEXT /D:5 /T:b\r\n",
      1);
  EXPECT_EQ(f.calls[0], "sheet DrawRect 10 130 30 160 &H00000000 outline");
  EXPECT_EQ(f.calls[2], "sheet SetFontSize 12");
  EXPECT_EQ(f.calls[10], "sheet MoveTo 20 35");
}

TEST(PrintRun, ADocumentThatChangesDuringTheRunFails) {
  PrintFixture f;
  const auto path = f.dir.Write("doc.lvx", Text("a") + Text("b") + Text("c"));
  f.control.onNewPage = [&] { ::truncate(path.c_str(), 5); };
  EXPECT_FALSE(f.run.Run(path, f.dir.path(), 2));
  EXPECT_FALSE(f.run.ReadFailed());
  EXPECT_FALSE(f.run.Run(f.dir.path() + "/missing.lvx", f.dir.path(), 1));
  EXPECT_FALSE(f.run.ReadFailed());
}

// /proc/self/mem reads as a regular file whose first read fails: the run
// fails and says why, rather than printing an empty job.
TEST(PrintRun, AFailedReadFailsTheRun) {
  PrintFixture f;
  EXPECT_FALSE(f.run.Run("/proc/self/mem", f.dir.path(), 1));
  EXPECT_TRUE(f.run.ReadFailed());
  EXPECT_TRUE(f.calls.empty());
  // The next run starts afresh.
  EXPECT_EQ(f.Print(Text("a"), 1), "a");
  EXPECT_FALSE(f.run.ReadFailed());
}

class OnePictureLoader : public PictureLoader {
 public:
  class Pic : public Picture {
   public:
    double WidthHmm() const override { return 2000; }
    double HeightHmm() const override { return 1000; }
  };
  std::shared_ptr<const Picture> Load(const std::string& path) override {
    return testing::ReadAll(path) == "PIC" ? std::make_shared<Pic>() : nullptr;
  }
};

TEST(PrintRun, EachPageDrawsAtMostItsBudgetOfRecords) {
  PrintFixture f;
  constexpr int kBudget = static_cast<int>(PageBudget::kRecordsPerPage);
  std::string doc;
  for (int i = 0; i < kBudget + 10; ++i) doc += Text("a");
  doc += "*PAGE\r\n";
  for (int i = 0; i < kBudget + 10; ++i) doc += Text("b");
  const std::string printed = f.Print(doc, 2);
  // Two copies of two pages, each page cut at the budget.
  const std::string a(kBudget, 'a');
  const std::string b(kBudget, 'b');
  EXPECT_EQ(printed, a + "|" + b + "|" + a + "|" + b);
}

TEST(PrintRun, PicturesWithoutAFileCheck) {
  PrintFixture f;
  OnePictureLoader loader;
  PrintRun run(f.view, f.control, &loader);
  f.dir.Write("logo.bmp", "PIC");
  const auto empty = f.dir.Write("empty.bmp", "");
  const auto doc =
      f.dir.Write("doc.lvx",
                  "*IMAGE /X:10 /Y:20 /N:logo.bmp\r\n*IMAGE /X:30 /Y:40 /N:empty.bmp\r\n"
                  "*IMAGE /X:50 /Y:60 /N:missing.bmp\r\n");
  ASSERT_TRUE(run.Run(doc, f.dir.path(), 1));
  EXPECT_EQ(f.calls,
            (std::vector<std::string>{"sheet MoveTo 10 20", "sheet DrawPicture 10 20 own 2000x1000",
                                      "sheet MoveTo 30 40", "sheet MoveTo 50 60"}));
  EXPECT_TRUE(std::filesystem::exists(empty));  // neither drawn nor deleted
}

}  // namespace
}  // namespace lvx
