// SPDX-License-Identifier: GPL-3.0-or-later
#include "header_records.h"

#include <gtest/gtest.h>

#include "tail_keys.h"

#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

// Pre-reads `text` as a document in a temporary folder.
HeaderRecords PreRead(const std::string& text) {
  testing::TempDir dir;
  HeaderRecords header;
  header.ReadHeaderRecords(dir.Write("doc.lvx", text));
  return header;
}

void ExpectOnlyInfoAndUnknownRecipient(const HeaderRecords& h, const std::string& info) {
  for (const std::string* field :
       {&h.FaxNumber, &h.FaxTo, &h.MailCc, &h.MailBcc, &h.MailO, &h.MailLines, &h.MailZ,
        &h.MailSentDate, &h.MailSentTime, &h.MailFromU, &h.MailFromP}) {
    EXPECT_EQ(*field, "");
  }
  EXPECT_EQ(h.MailTo, "unknown");
  EXPECT_EQ(h.InfoText, info);
}

TEST(HeaderRecords, DocumentWithoutHeaderRecords) {
  ExpectOnlyInfoAndUnknownRecipient(PreRead("*TEXT /X:10 /Y:10 /T:Hello\r\n*PAGE\r\n"), "");
}

TEST(HeaderRecords, EveryKeyGoesToItsField) {
  struct Row {
    std::string line;
    std::string HeaderRecords::*field;
    std::string value;
  };
  const std::vector<Row> rows = {
      {"*FAX /N:0123 456", &HeaderRecords::FaxNumber, "0123 456"},
      {"*FAX /T:Mario Rossi", &HeaderRecords::FaxTo, "Mario Rossi"},
      {"*EMAIL /T:sales@example.com", &HeaderRecords::MailTo, "sales@example.com"},
      {"*EMAIL /C:a@example.com; b@example.com", &HeaderRecords::MailCc,
       "a@example.com; b@example.com"},
      {"*EMAIL /B:c@example.com", &HeaderRecords::MailBcc, "c@example.com"},
      {"*EMAIL /O:Oggetto", &HeaderRecords::MailO, "Oggetto"},
      {"*EMAIL /M:Gentile cliente,", &HeaderRecords::MailLines, "Gentile cliente,"},
      {"*EMAIL /Z:z", &HeaderRecords::MailZ, "z"},
      {"*EMAIL /D:20090315", &HeaderRecords::MailSentDate, "20090315"},
      {"*EMAIL /H:17:45", &HeaderRecords::MailSentTime, "17:45"},
      {"*EMAIL /U:ufficio", &HeaderRecords::MailFromU, "ufficio"},
      {"*EMAIL /P:posta", &HeaderRecords::MailFromP, "posta"},
      {"*INFO /T:Fattura 17/2009 ", &HeaderRecords::InfoText, "Fattura 17/2009 "},
      // Keywords and keys in any letter case, the value as written.
      {"*email /t:Sales Office", &HeaderRecords::MailTo, "Sales Office"},
      {"  xx *Info /t:  spaced  ", &HeaderRecords::InfoText, "  spaced  "},
      {"*FAX /N:", &HeaderRecords::FaxNumber, ""},
      // Windows-1252 bytes stay bytes.
      {"*INFO /T:Caff\xE8 \x80", &HeaderRecords::InfoText, "Caff\xE8 \x80"},
      // A line that merely holds the keyword is a header line too.
      {"*TEXT /X:1 /T:send by *FAX /N:123", &HeaderRecords::FaxNumber, "123"},
      {"*TEXT /X:1 /T:send by *FAX /N:123", &HeaderRecords::FaxTo, "send by *FAX /N:123"},
      // Every key of the kind is looked for in the line.
      {"*EMAIL /M:see /T: below", &HeaderRecords::MailLines, "see /T: below"},
      {"*EMAIL /M:see /T: below", &HeaderRecords::MailTo, " below"},
      // Two keywords in one line run both routines.
      {"*FAX *INFO /T:both", &HeaderRecords::FaxTo, "both"},
      {"*FAX *INFO /T:both", &HeaderRecords::InfoText, "both"},
      // A lone LF does not end a line of a file whose first line ends in CR,
      // but ends lines in a file written the Linux way.
      {"REM\r*INFO /T:a\nb", &HeaderRecords::InfoText, "a\nb"},
      {"*INFO /T:a\nb", &HeaderRecords::InfoText, "a"},
      {"*INFO /T:a\n*FAX /N:7", &HeaderRecords::FaxNumber, "7"},
      // The keyword after other stars in the line; "*" alone or cut short is none.
      {"*TEXT /X:2 * 3 = 6 *eMaIl /T:x", &HeaderRecords::MailTo, "x"},
      {"* FAX /N:1", &HeaderRecords::FaxNumber, ""},
      {"*INF", &HeaderRecords::InfoText, ""},
      // Only ASCII letters stand for the keyword's letters: É is no E.
      {"*\xC9MAIL /T:x", &HeaderRecords::MailTo, "unknown"},
      {"*\xE9mail /T:x", &HeaderRecords::MailTo, "unknown"},
  };
  for (const auto& row : rows) {
    const HeaderRecords header = PreRead(row.line + "\r\n");
    EXPECT_EQ(header.*row.field, row.value) << row.line;
  }
}

TEST(HeaderRecords, MailLinesJoinWithCrLfAndOtherKeysTakeTheLast) {
  const HeaderRecords h = PreRead(
      "*EMAIL /M:First line\r\n*INFO /T:one\r\n*EMAIL /M:Second line\r\n*INFO /T:two\r\n"
      "*FAX /N:1\r\n*FAX /T:Bob\r\n");
  EXPECT_EQ(h.MailLines, "First line\r\nSecond line");
  EXPECT_EQ(h.InfoText, "two");
  EXPECT_EQ(h.FaxNumber, "1");  // a line without the key leaves the field
  EXPECT_EQ(h.FaxTo, "Bob");
  EXPECT_EQ(h.MailTo, "unknown");
  // An empty first "/M:" leaves nothing to join to.
  EXPECT_EQ(PreRead("*EMAIL /M:\r\n*EMAIL /M:Second\r\n").MailLines, "Second");
}

TEST(HeaderRecords, DocumentEndsDecideSeveralDocuments) {
  const std::string header = "*INFO /T:Fattura\r\n*FAX /N:1\r\n*EMAIL /T:a@b\r\n";
  struct Row {
    std::string text;
    bool several;
  };
  const std::vector<Row> rows = {
      {header + "*TEXT /T:x\r\n#EOD", false},
      {header + "*TEXT /T:x\r\n#EOD\r\n", false},
      {header + "*TEXT /T:x\r\n#eod  \r\n", false},
      {header + "#EOD\r\n\r\n", true},
      {header + "#EOD\r\n*TEXT /T:second\r\n#EOD\r\n", true},
      {header + "#EOD\r\n#EOD\r\n", true},
      // A "*" anywhere in the line makes it no document end.
      {header + "*TEXT /T:#EOD\r\n*TEXT /T:after\r\n", false},
      {header + "#EOD *\r\n*TEXT /T:after\r\n", false},
      // The mark anywhere in the line, in any letter case; cut short it is none.
      {header + "end #eOd of 1\r\n*TEXT /T:second\r\n", true},
      {header + "##EOD\r\n*TEXT /T:second\r\n", true},
      {header + "#EO\r\n*TEXT /T:second\r\n", false},
  };
  for (const auto& row : rows) {
    const HeaderRecords h = PreRead(row.text);
    if (row.several) {
      ExpectOnlyInfoAndUnknownRecipient(h, "*multidoc");
    } else {
      EXPECT_EQ(h.InfoText, "Fattura") << row.text;
      EXPECT_EQ(h.FaxNumber, "1") << row.text;
      EXPECT_EQ(h.MailTo, "a@b") << row.text;
    }
  }
}

TEST(HeaderRecords, EachPreReadStartsAfresh) {
  testing::TempDir dir;
  HeaderRecords header;
  header.ReadHeaderRecords(dir.Write("a.lvx", "*INFO /T:first\r\n*EMAIL /M:x\r\n"));
  header.ReadHeaderRecords(dir.Write("b.lvx", "*FAX /N:2\r\n"));
  EXPECT_EQ(header.InfoText, "");
  EXPECT_EQ(header.MailLines, "");
  EXPECT_EQ(header.FaxNumber, "2");
}

TEST(HeaderRecords, UnreadableDocumentLeavesEmptyFields) {
  testing::TempDir dir;
  HeaderRecords header;
  header.ReadHeaderRecords(dir.Write("a.lvx", "*INFO /T:first\r\n"));
  std::filesystem::create_directory(dir.path() + "/folder.lvx");
  for (const std::string& path :
       {dir.path() + "/missing.lvx", dir.path() + "/folder.lvx", std::string()}) {
    header.ReadHeaderRecords(path);
    ExpectOnlyInfoAndUnknownRecipient(header, "");
  }
}

TEST(HeaderRecords, DocumentIsFoundIgnoringLetterCase) {
  testing::TempDir dir;
  dir.Write("Docs/FATTURA.LVX", "*INFO /T:found\r\n");
  HeaderRecords header;
  header.ReadHeaderRecords(dir.path() + "/docs/fattura.lvx");
  EXPECT_EQ(header.InfoText, "found");
}

// Keys past the 16-bit positions still count here; a line is kept up to
// kKeptLineBytes, so a longer value is cut there rather than held whole.
TEST(HeaderRecords, LongLinesAreReadUpToTheKeptLength) {
  const std::string record = std::string(40000, ' ') + "*INFO /T:";
  const std::string value(100000, 'v');
  const std::string info = PreRead(record + value).InfoText;
  EXPECT_EQ(info.size(), kKeptLineBytes - record.size());
  EXPECT_EQ(info, value.substr(0, info.size()));
}

}  // namespace
}  // namespace lvx
