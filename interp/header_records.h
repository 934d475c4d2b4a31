// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lvx {

// The addressing and information fields of a document, taken from its
// "*FAX", "*EMAIL" and "*INFO" records by a pre-read of the whole file.
// Values are Windows-1252 bytes as written; convert them only to show them.
class HeaderRecords {
 public:
  // Reads the document at `docPath` (looked up through FindFile) from its
  // first line to its last and sets every field. A file that holds more
  // than one document gives "*multidoc" in InfoText and every other field
  // empty; MailTo is "unknown" when no recipient was read. A file that
  // cannot be opened leaves the fields empty (MailTo "unknown"). Merged
  // files are not followed. Never throws for anything a file holds.
  void ReadHeaderRecords(std::string_view docPath);

  // One line of the pre-read: makes it HeaderLine and runs the record
  // routine of every header keyword the line contains.
  void TakeLine(std::string line);

  // Take the options of HeaderLine into the fields of their record kind.
  // Each key is looked for in the whole line; its value runs from behind
  // the key to the end of the line, blanks and slashes included.
  void ReadFaxRecord();
  void ReadEmailRecord();
  void ReadInfoRecord();

  // Empties all thirteen fields.
  void ClearFields();

  std::string FaxNumber;
  std::string FaxTo;
  std::string MailTo;
  std::string MailCc;
  std::string MailBcc;
  std::string MailO;
  // Every "/M:" value, joined with CR LF.
  std::string MailLines;
  std::string MailZ;
  std::string MailSentDate;  // YYYYMMDD
  std::string MailSentTime;
  std::string MailFromU;
  std::string MailFromP;
  std::string InfoText;

  // The line being taken, as read and in upper case.
  const std::string& HeaderLine() const { return headerLine_; }
  const std::string& HeaderLineUp() const { return headerLineUp_; }

 private:
  // Stores the value of `key` in `field` when the line holds the key.
  void TakeValue(std::string_view key, std::string& field) const;
  void AppendMailLine();

  std::string headerLine_;
  std::string headerLineUp_;
};

}  // namespace lvx
