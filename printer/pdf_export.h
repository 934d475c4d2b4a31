// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace lvx {

// A document file to be written as one PDF job.
struct PdfSource {
  std::string docPath;    // the file as found on disk
  std::string docFolder;  // where its merged files and pictures are looked up
  QString title;          // names the job
  int copies = 1;
};

// How writing a job into a file went.
struct PdfExport {
  enum class Outcome {
    kWritten,             // `path` holds the whole job
    kNoFile,              // the file could not be made or put in its place; see `error`
    kDocumentChanged,     // the document changed or vanished while it was read
    kDocumentUnreadable,  // a read of the document failed
    kJobFailed,           // the job could not be written whole
  };
  Outcome outcome = Outcome::kJobFailed;
  std::string path;
  std::string error;
};

// Writes the job into `target`, replacing what is there only once the
// whole job is written, and only a regular file (see IsReplaceable): unless
// the outcome is kWritten, `target` is as it was and no file is left
// behind. Never throws.
PdfExport ExportReplacing(const PdfSource& source, const std::string& target);

// Writes the job at the first free NumberedPath of `target` ("a.pdf",
// "a-2.pdf", ...), never replacing a file; `path` says which it took.
// Never throws.
PdfExport ExportBeside(const PdfSource& source, const std::string& target);

}  // namespace lvx
