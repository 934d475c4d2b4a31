// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "check_file.h"
#include "command_text.h"
#include "doc_list.h"
#include "fake_platform.h"
#include "page_reader.h"
#include "recording_view.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

// A program folder and a document folder "Docs" (mixed case on purpose)
// in a temporary folder.
struct SessionFixture {
  testing::TempDir dir;
  testing::FakePlatform platform;
  std::string app = dir.path() + "/app";
  std::string docs = dir.path() + "/Docs";
  std::string work = app;

  SessionFixture() {
    fs::create_directories(app);
    fs::create_directories(docs);
  }
  std::string Doc(const std::string& name, const std::string& text) {
    return dir.Write("Docs/" + name, text);
  }
  void Browsing() { dir.Write("app/lvxview.ini", "ROLLDIR=1\r\n"); }
  ViewerSession Session(const std::string& commandText, const std::string& currentDir = "/") {
    return ViewerSession(ViewerEnvironment{app, commandText, currentDir, work});
  }
  StartupOutcome StartUp(ViewerSession& session, bool otherInstance = false) {
    return session.StartUp([otherInstance] { return !otherInstance; }, platform);
  }
};

std::string Info(const std::string& text) {
  return "*INFO /T:" + text + "\r\n";
}

TEST(LoadDocumentPath, CommandLineGivesPathNameAndFolder) {
  SessionFixture f;
  ViewerSession session = f.Session("\"" + f.docs + "/March 2009/f001.lvx\"");
  EXPECT_TRUE(session.LoadDocumentPath());
  EXPECT_EQ(session.DocPath, f.docs + "/March 2009/f001.lvx");
  EXPECT_EQ(session.DocFileName, "f001.lvx");
  EXPECT_EQ(session.DocFolder, f.docs + "/March 2009/");
  EXPECT_EQ(session.CmdText, session.DocPath);
  EXPECT_EQ(session.FlagFilePath, f.app + "/lvxview.flg");
}

TEST(LoadDocumentPath, NoOrOverLongTextGivesNoDocument) {
  SessionFixture f;
  for (const std::string& text : {std::string(), std::string(" \"\" "),
                                  f.docs + "/" + std::string(kCommandTextLimit, 'a') + ".lvx"}) {
    ViewerSession session = f.Session(text, "/home/u");
    EXPECT_FALSE(session.LoadDocumentPath());
    EXPECT_EQ(session.DocPath, "");
    EXPECT_EQ(session.DocFolder, "/home/u");
    EXPECT_EQ(session.CheckDocument(), kCheckNoName);
  }
}

TEST(LoadDocumentPath, WithoutBrowsingNoListIsBuilt) {
  SessionFixture f;
  f.Doc("a.lvx", "x");
  const std::string b = f.Doc("B.lvx", "x");
  ViewerSession session = f.Session(b);
  f.StartUp(session);
  EXPECT_EQ(session.DocCount, 0);
  EXPECT_EQ(session.DocIndex, 0);
}

TEST(LoadDocumentPath, BrowsingListsTheFolderInLowerCase) {
  SessionFixture f;
  f.Browsing();
  for (const char* name : {"c.lvx", "a.lvx", "B.lvx"}) f.Doc(name, "x");
  f.Doc("notes.txt", "x");
  ViewerSession session = f.Session(f.docs + "/B.lvx");
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  const std::string lower = LowerCase1252(f.docs);
  EXPECT_EQ(session.DocList,
            (std::vector<std::string>{"", lower + "/a.lvx", lower + "/b.lvx", lower + "/c.lvx"}));
  EXPECT_EQ(session.DocCount, 3);
  EXPECT_EQ(session.DocIndex, 2);
  // The command line's document keeps its name as written.
  EXPECT_EQ(session.DocFileName, "B.lvx");
}

TEST(LoadDocumentPath, DocumentWithoutFolderIsBrowsedInTheCurrentFolder) {
  SessionFixture f;
  f.Browsing();
  for (const char* name : {"a.lvx", "B.lvx"}) f.Doc(name, "x");
  ViewerSession session = f.Session("B.lvx", f.docs);
  session.ReadSettings(f.platform);
  ASSERT_TRUE(session.LoadDocumentPath());
  EXPECT_EQ(session.DocPath, "B.lvx");
  EXPECT_EQ(session.DocFolder, f.docs);
  EXPECT_EQ(session.DocCount, 2);
  EXPECT_EQ(session.DocIndex, 2);
  EXPECT_EQ(session.DocList[1], LowerCase1252(f.docs + "/a.lvx"));
}

TEST(LoadDocumentPath, FolderNamedInOtherLetterCaseIsBrowsed) {
  SessionFixture f;
  f.Browsing();
  for (const char* name : {"a.lvx", "b.lvx"}) f.Doc(name, "x");
  ViewerSession session = f.Session(f.dir.path() + "/DOCS/B.LVX");
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_EQ(session.DocCount, 2);
  EXPECT_EQ(session.DocIndex, 2);
}

TEST(StepDocument, WalksTheListAndWrapsAtBothEnds) {
  SessionFixture f;
  f.Browsing();
  f.Doc("A.lvx", Info("first"));
  f.Doc("B.lvx", Info("second"));
  f.Doc("C.LVX", Info("third"));
  ViewerSession session = f.Session(f.docs + "/B.lvx");
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  const std::string lower = LowerCase1252(f.docs);
  struct Step {
    int direction;
    std::int16_t index;
    std::string fileName;
    std::string info;
  };
  const std::vector<Step> steps = {
      {+1, 3, "c.lvx", "third"},  {+1, 1, "a.lvx", "first"}, {-1, 3, "c.lvx", "third"},
      {-1, 2, "b.lvx", "second"}, {-1, 1, "a.lvx", "first"},
  };
  for (const auto& step : steps) {
    session.StepDocument(step.direction);
    EXPECT_EQ(session.DocIndex, step.index);
    EXPECT_EQ(session.DocPath, lower + "/" + step.fileName);
    EXPECT_EQ(session.DocFileName, step.fileName);
    EXPECT_EQ(session.DocFolder, lower + "/");
    // Lower-case entries still reach the mixed-case files.
    EXPECT_EQ(session.CheckDocument(), kCheckUsable);
    EXPECT_EQ(session.Header.InfoText, step.info);
  }
}

TEST(StepDocument, TheListIsBuiltOnce) {
  SessionFixture f;
  f.Browsing();
  const std::string a = f.Doc("a.lvx", "x");
  ViewerSession session = f.Session(a);
  f.StartUp(session);
  f.Doc("b.lvx", "x");
  session.StepDocument(+1);
  EXPECT_EQ(session.DocCount, 1);
  EXPECT_EQ(session.DocIndex, 1);
  EXPECT_EQ(session.DocPath, LowerCase1252(a));
}

TEST(StepDocument, WithoutListStaysOnTheCommandLineDocument) {
  SessionFixture f;
  f.Browsing();
  const std::string doc = f.Doc("report.txt", Info("report"));
  ViewerSession session = f.Session(doc);
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_EQ(session.DocCount, 0);
  for (int direction : {+1, -1}) {
    session.StepDocument(direction);
    EXPECT_EQ(session.DocIndex, 0);
    EXPECT_EQ(session.DocPath, doc);
    EXPECT_EQ(session.Header.InfoText, "report");
  }
  // A list tried again finds documents that have come meanwhile.
  f.Doc("a.lvx", "x");
  session.StepDocument(+1);
  EXPECT_EQ(session.DocCount, 1);
  EXPECT_EQ(session.DocIndex, 0);
  EXPECT_EQ(session.DocPath, doc);
}

TEST(StepDocument, NamesWithQuotesOrCmdStayWhole) {
  SessionFixture f;
  f.Browsing();
  fs::create_directories(f.docs + "/cmd");
  const std::string a = f.dir.Write("Docs/cmd/a.lvx", "x");
  f.dir.Write("Docs/cmd/q\"uote.lvx", Info("quoted"));
  ViewerSession session = f.Session(a);
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_EQ(session.DocPath, a);
  session.StepDocument(+1);
  EXPECT_EQ(session.DocFileName, "q\"uote.lvx");
  EXPECT_EQ(session.CheckDocument(), kCheckUsable);
  EXPECT_EQ(session.Header.InfoText, "quoted");
}

TEST(StartUp, AnotherInstanceEndsBeforeAnythingIsTouched) {
  SessionFixture f;
  f.dir.Write("app/lvxview.ini", "");
  f.dir.Write("app/lvxview.flg", "");
  f.dir.Write("app/scract.sh", "rm lvxview.flg\n");
  const std::string empty = f.Doc("empty.lvx", "");
  ViewerSession session = f.Session(empty);
  EXPECT_EQ(f.StartUp(session, /*otherInstance=*/true), StartupOutcome::kOtherInstance);
  for (const std::string& path :
       {f.app + "/lvxview.ini", f.app + "/lvxview.flg", f.app + "/scract.sh", empty}) {
    EXPECT_TRUE(fs::exists(path)) << path;
  }
  EXPECT_EQ(f.platform.questions, 0);
}

TEST(StartUp, UnusableDocumentEndsBeforeTheCleanUp) {
  SessionFixture f;
  const std::string flag = f.dir.Write("app/lvxview.flg", "lvxview");
  const std::string empty = f.Doc("empty.lvx", "");
  for (const std::string& doc : {f.docs + "/missing.lvx", empty, f.docs, std::string()}) {
    ViewerSession session = f.Session(doc);
    EXPECT_EQ(f.StartUp(session), StartupOutcome::kNoDocument) << doc;
  }
  EXPECT_FALSE(fs::exists(empty));
  EXPECT_TRUE(fs::exists(flag));
}

TEST(StartUp, UsableDocumentIsPreReadAndLeftoversGo) {
  SessionFixture f;
  f.dir.Write("app/LVXVIEW.FLG", "lvxview");
  f.dir.Write("app/scract.sh", "");
  f.dir.Write("app/scract.bat", "del lvxview.flg\r\n");
  fs::create_directories(f.app + "/other");
  const std::string doc = f.Doc("a.lvx", Info("Fattura 17"));
  ViewerSession session = f.Session(doc);
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_EQ(session.Header.InfoText, "Fattura 17");
  EXPECT_EQ(session.Header.MailTo, "unknown");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(f.app)) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"other"});
  EXPECT_TRUE(fs::exists(doc));
}

TEST(StartUp, ForASharedProgramFolderLeftoversGoFromTheUsersFolderOnly) {
  SessionFixture f;
  f.work = f.dir.path() + "/run/lvx";
  for (const char* name : {"lvxview.flg", "scract.sh", "scract.bat"}) {
    f.dir.Write(std::string("app/") + name, "x");
    f.dir.Write(std::string("run/lvx/") + name, "x");
  }
  ViewerSession session = f.Session(f.Doc("a.lvx", "x"));
  EXPECT_EQ(session.FlagFilePath, f.work + "/lvxview.flg");
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_TRUE(fs::is_empty(f.work));
  for (const char* name : {"lvxview.flg", "scract.sh", "scract.bat"}) {
    EXPECT_TRUE(fs::exists(f.app + "/" + name)) << name;
  }
}

TEST(StartUp, LeftoverThatIsAFolderStays) {
  SessionFixture f;
  fs::create_directories(f.app + "/scract.sh");
  ViewerSession session = f.Session(f.Doc("a.lvx", "x"));
  EXPECT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_TRUE(fs::is_directory(f.app + "/scract.sh"));
}

TEST(StartUp, SettingsComeFromTheProgramFolder) {
  SessionFixture f;
  f.Browsing();
  f.platform.identity.Number = 0;
  ViewerSession session = f.Session(f.Doc("a.lvx", "x"));
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  EXPECT_EQ(session.Settings.IniFound, 1);
  EXPECT_EQ(session.Settings.RollDir, 1);
  EXPECT_EQ(session.Settings.Platform, "NONE");
}

TEST(SetUpReader, ReaderDrawsTheCurrentDocumentSplitAt140) {
  SessionFixture f;
  f.Browsing();
  f.Doc("a.lvx", "x");
  f.Doc("Form.lvx", "*TEXT /X:10 /Y:150 /T:merged\r\n");
  f.Doc("B.lvx", "*TEXT /X:10 /Y:139 /T:above\r\n*MERGE /N:form.lvx\r\n");
  ViewerSession session = f.Session(f.docs + "/a.lvx");
  ASSERT_EQ(f.StartUp(session), StartupOutcome::kShowPageWindow);
  session.StepDocument(+1);
  std::vector<std::string> calls;
  RecordingView main("main", calls), upper("upper", calls), lower("lower", calls);
  PageReader reader(SplitViews{main, upper, lower}, nullptr);
  reader.handlers().HalfPageHeight = 0.0F;
  session.SetUpReader(reader);
  EXPECT_EQ(reader.handlers().HalfPageHeight, kHalfPageHeight);
  reader.ReadPage();
  const auto has = [&](const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
  };
  EXPECT_TRUE(has("upper PrintText \"above\""));
  // The merged file comes from the document's folder; 150 mm is 10 mm into the lower half.
  EXPECT_TRUE(has("lower MoveTo 10 10"));
  EXPECT_TRUE(has("lower PrintText \"merged\""));
}

}  // namespace
}  // namespace lvx
