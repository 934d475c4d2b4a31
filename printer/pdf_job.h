// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

#include "sheet_paper.h"

namespace lvx {

enum class PdfJobResult {
  kWritten,             // the whole job is in the file
  kDocumentChanged,     // the document ended early, or changed meanwhile
  kDocumentUnreadable,  // a read of the document failed
  kWriteFailed,         // the file could not be written whole
};

// Prints every document of the file `docPath` (an existing file's path),
// each in `copies` copies, as one PDF file into the empty file open for
// reading and writing at `pdfFd` (which stays the caller's), taking merged
// files and pictures from `docFolder`; `title` names the job. The pages are
// of `paper`, with the document's (0, 0) at its printable area's corner;
// `pageCount`, when given, gets the number of pages written. Unless the
// result is kWritten the file is of no use. Never throws.
PdfJobResult WritePdfJob(const std::string& docPath, const std::string& docFolder, int copies,
                         int pdfFd, const QString& title,
                         const SheetPaper& paper = SheetPaper::A4(), int* pageCount = nullptr);

}  // namespace lvx
