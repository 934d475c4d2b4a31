// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxmail from a program folder of its own, without a display; a
// stand-in xdg-email on PATH records the message it was handed.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "companion_folder.h"
#include "pdf_check.h"
#include "pdf_probe.h"

namespace lvx::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

struct LvxmailE2e : ::testing::Test {
  LvxmailE2e() { f.StandIn("xdg-email"); }

  // The PDF files of the mail folder, each as run folder/name.
  std::set<std::string> MailFiles() const {
    std::set<std::string> files;
    if (!fs::exists(mail)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(mail)) {
      if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), mail).string());
    }
    return files;
  }
  // The attachment xdg-email was given: the last argument.
  std::string Attachment() const {
    const auto given = f.Given("xdg-email");
    return given && !given->empty() ? given->back() : std::string();
  }

  CompanionFolder f;
  std::string mail = f.runtime + "/lvx/mail";
};

TEST_F(LvxmailE2e, HostileHeaderTextArrivesAsTheDocumentWroteIt) {
  const std::string doc =
      f.Doc("a b; touch pwned.lvx",
            Lines({"*EMAIL /T:\"O'Brien, Se\xE1n\" <sean@example.com>; $(touch pwned)@example.com",
                   "*EMAIL /C:`touch pwned`@example.com", "*EMAIL /B:capo@example.com",
                   "*EMAIL /O:Fattura n\xB0 17 \"$(id)\" 'x' \x80", "*EMAIL /M:Gentile Sig. Rossi,",
                   "*EMAIL /M:", "*EMAIL /M:in allegato `uname` e $HOME; | & > pwned",
                   "*TEXT /X:20 /Y:20 /T:Fattura 17"}));
  const RunResult run = f.Mail({doc, "/T:2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  const std::string pdf = Attachment();
  EXPECT_EQ(
      f.Given("xdg-email"),
      (Strings{"--utf8", "--to", "\"O'Brien, Se\xC3\xA1n\" <sean@example.com>", "--to",
               "$(touch pwned)@example.com", "--cc", "`touch pwned`@example.com", "--bcc",
               "capo@example.com", "--subject", "Fattura n\xC2\xB0 17 \"$(id)\" 'x' \xE2\x82\xAC",
               "--body", "Gentile Sig. Rossi,\n\nin allegato `uname` e $HOME; | & > pwned",
               "--attach", pdf}));
  // The PDF in the user's runtime folder, named after the document.
  EXPECT_EQ(fs::path(pdf).parent_path().parent_path(), fs::path(mail));
  EXPECT_EQ(fs::path(pdf).filename(), "a b; touch pwned.pdf");
  const auto probe = PdfProbe::Read(pdf);
  ASSERT_TRUE(probe);
  EXPECT_EQ(probe->Texts(), (Strings{"Fattura 17"}));
  for (const std::string& folder : {f.docs, f.app, f.bin, f.dir.path()}) {
    EXPECT_FALSE(fs::exists(folder + "/pwned")) << folder;
  }
}

TEST_F(LvxmailE2e, WithoutRecipientTheMessageHasNone) {
  const struct {
    std::string name;
    std::string text;
  } rows[] = {
      {"none.lvx", Lines({"*TEXT /X:20 /Y:20 /T:x"})},
      {"unknown.lvx", Lines({"*EMAIL /T:unknown", "*TEXT /X:20 /Y:20 /T:x"})},
      {"empty.lvx", Lines({"*EMAIL /T:", "*EMAIL /C: ; ", "*TEXT /X:20 /Y:20 /T:x"})},
      // Several documents: the pre-read keeps none of the header fields.
      {"multi.lvx", Lines({"*EMAIL /T:a@example.com", "*EMAIL /O:subject", "*TEXT /X:20 /Y:20 /T:x",
                           "#EOD", "*TEXT /X:20 /Y:20 /T:y", "*TEXT /X:20 /Y:40 /T:z"})},
  };
  for (const auto& row : rows) {
    const RunResult run = f.Mail({f.Doc(row.name, row.text)});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(f.Given("xdg-email"), (Strings{"--utf8", "--attach", Attachment()})) << row.name;
    EXPECT_EQ(PdfFaults(Attachment()), "") << row.name;
  }
  const auto probe = PdfProbe::Read(Attachment());
  ASSERT_TRUE(probe);
  EXPECT_EQ(probe->Texts(), (Strings{"x", "y z"})) << "every document of the file";
}

TEST_F(LvxmailE2e, TheNextRunRemovesTheEarlierPdf) {
  f.Doc("a.lvx", Lines({"*TEXT /X:20 /Y:20 /T:a"}));
  f.Doc("b.lvx", Lines({"*TEXT /X:20 /Y:20 /T:b"}));
  ASSERT_EQ(f.Mail({"a.lvx"}).status, 0);
  const std::string first = Attachment();
  EXPECT_EQ(PdfFaults(first), "");
  ASSERT_EQ(f.Mail({"b.lvx"}).status, 0);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(PdfFaults(Attachment()), "");
  EXPECT_EQ(MailFiles().size(), 1U);
  EXPECT_EQ(fs::path(*MailFiles().begin()).filename(), "b.pdf");
  EXPECT_EQ(fs::status(fs::path(Attachment()).parent_path()).permissions() & fs::perms::all,
            fs::perms::owner_all);
}

TEST_F(LvxmailE2e, FailuresLeaveNothingBehind) {
  f.Doc("a.lvx", Lines({"*EMAIL /T:a@example.com", "*TEXT /X:20 /Y:20 /T:a"}));
  const struct {
    std::string standIn;  // the stand-in's end; empty for no xdg-email at all
    Strings arguments;
    int status;
    std::string err;
  } rows[] = {
      {"exit 0", {}, 1, "lvxmail: no document given\n"},
      {"exit 0",
       {"missing.lvx", "/T:2"},
       1,
       "lvxmail: " + f.docs + "/missing.lvx: no such document, or it is empty\n"},
      {"exit 4", {"a.lvx"}, 3, "lvxmail: xdg-email failed (exit status 4)\n"},
      {"", {"a.lvx"}, 3, "lvxmail: cannot start xdg-email: No such file or directory\n"},
  };
  for (const auto& row : rows) {
    fs::remove(f.bin + "/xdg-email");
    if (!row.standIn.empty()) f.StandIn("xdg-email", row.standIn);
    // Only the stand-ins' folder on PATH: no desktop's xdg-email either.
    const RunResult run = f.Mail(row.arguments, {{"PATH", f.bin}});
    EXPECT_EQ(run.status, row.status) << row.standIn;
    EXPECT_EQ(run.err, row.err);
    EXPECT_EQ(MailFiles(), std::set<std::string>{}) << row.err;
  }
  // Without any runtime or home folder there is nowhere to put the PDF.
  const RunResult nowhere =
      f.Mail({"a.lvx"}, {{"XDG_RUNTIME_DIR", ""}, {"XDG_STATE_HOME", ""}, {"HOME", "relative"}});
  EXPECT_EQ(nowhere.status, 3);
  EXPECT_EQ(nowhere.err, "lvxmail: no runtime folder (XDG_RUNTIME_DIR) and no home folder\n");
}

TEST_F(LvxmailE2e, HelpAndVersion) {
  const RunResult help = f.Mail({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: lvxmail DOCUMENT [/T:n]\n", 0), 0U);
  EXPECT_EQ(f.Mail({"--version"}).out, "lvxmail " LVX_VERSION "\n");
}

}  // namespace
}  // namespace lvx::testing
