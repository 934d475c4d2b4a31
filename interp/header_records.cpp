// SPDX-License-Identifier: GPL-3.0-or-later
#include "header_records.h"

#include <array>

#include "cp1252.h"
#include "line_reader.h"

namespace lvx {
namespace {

constexpr std::string_view kMultiDoc = "*multidoc";
constexpr std::string_view kUnknownRecipient = "unknown";

// Upper case into a buffer that keeps its capacity from line to line: the
// pre-read touches every byte of documents of many megabytes.
void UpperInto(std::string_view text, std::string& out) {
  static const std::array<unsigned char, 256> kUpper = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = UpperByte1252(static_cast<unsigned char>(c));
    return table;
  }();
  out.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char>(kUpper[static_cast<unsigned char>(text[i])]);
  }
}

bool Contains(std::string_view text, std::string_view key) {
  return text.find(key) != std::string_view::npos;
}

// True when `word` (upper case ASCII) stands at `at` in any letter case.
// Only ASCII letters upper-case to ASCII letters in Windows-1252, so this
// matches where the upper-case copy of the line holds `word`.
bool WordAt(std::string_view line, std::size_t at, std::string_view word) {
  if (line.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[at + i]);
    if ((c >= 'a' && c <= 'z' ? c - 0x20 : c) != static_cast<unsigned char>(word[i])) {
      return false;
    }
  }
  return true;
}

// What a line holds for the pre-read, found without an upper-case copy:
// most lines of a document hold no header keyword at all.
struct LineKinds {
  bool header = false;  // "*FAX", "*EMAIL" or "*INFO"
  bool star = false;
  // A document ends at a line with "#EOD" and no "*" anywhere.
  bool endMark = false;
};

LineKinds KindsOf(std::string_view line) {
  LineKinds kinds;
  for (auto at = line.find('*'); at != std::string_view::npos; at = line.find('*', at + 1)) {
    kinds.star = true;
    if (WordAt(line, at + 1, "FAX") || WordAt(line, at + 1, "EMAIL") ||
        WordAt(line, at + 1, "INFO")) {
      kinds.header = true;
      return kinds;
    }
  }
  if (kinds.star) return kinds;
  for (auto at = line.find('#'); at != std::string_view::npos; at = line.find('#', at + 1)) {
    if (WordAt(line, at + 1, "EOD")) {
      kinds.endMark = true;
      break;
    }
  }
  return kinds;
}

}  // namespace

void HeaderRecords::ClearFields() {
  for (std::string* field :
       {&FaxNumber, &FaxTo, &MailTo, &MailCc, &MailBcc, &MailO, &MailLines, &MailZ, &MailSentDate,
        &MailSentTime, &MailFromU, &MailFromP, &InfoText}) {
    field->clear();
  }
}

void HeaderRecords::ReadHeaderRecords(std::string_view docPath) {
  int documentEnds = 0;
  bool lastLineWasEnd = false;
  ClearFields();
  LineReader reader;
  if (reader.Open(docPath)) {
    std::string line;
    while (reader.ReadLine(line)) {
      const LineKinds kinds = KindsOf(line);
      if (kinds.header) TakeLine(line);
      lastLineWasEnd = kinds.endMark;
      if (lastLineWasEnd) ++documentEnds;
    }
  }
  // The end of the last document separates nothing.
  if (lastLineWasEnd) --documentEnds;
  if (documentEnds > 0) {
    ClearFields();
    InfoText = kMultiDoc;
  }
  if (MailTo.empty()) MailTo = kUnknownRecipient;
}

void HeaderRecords::TakeLine(std::string line) {
  headerLine_ = std::move(line);
  UpperInto(headerLine_, headerLineUp_);
  // The three tests are independent: a line with two keywords runs both.
  if (Contains(headerLineUp_, "*FAX")) ReadFaxRecord();
  if (Contains(headerLineUp_, "*EMAIL")) ReadEmailRecord();
  if (Contains(headerLineUp_, "*INFO")) ReadInfoRecord();
}

void HeaderRecords::TakeValue(std::string_view key, std::string& field) const {
  const auto found = headerLineUp_.find(key);
  if (found != std::string::npos) field = headerLine_.substr(found + key.size());
}

void HeaderRecords::ReadFaxRecord() {
  TakeValue("/N:", FaxNumber);
  TakeValue("/T:", FaxTo);
}

void HeaderRecords::ReadEmailRecord() {
  TakeValue("/T:", MailTo);
  TakeValue("/C:", MailCc);
  TakeValue("/B:", MailBcc);
  TakeValue("/O:", MailO);
  AppendMailLine();
  TakeValue("/Z:", MailZ);
  TakeValue("/D:", MailSentDate);
  TakeValue("/H:", MailSentTime);
  TakeValue("/U:", MailFromU);
  TakeValue("/P:", MailFromP);
}

void HeaderRecords::AppendMailLine() {
  const auto found = headerLineUp_.find("/M:");
  if (found == std::string::npos) return;
  // Unlike every other key, "/M:" gathers: each value is one more line.
  if (!MailLines.empty()) MailLines += "\r\n";
  MailLines.append(headerLine_, found + 3);
}

void HeaderRecords::ReadInfoRecord() {
  TakeValue("/T:", InfoText);
}

}  // namespace lvx
