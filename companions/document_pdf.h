// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lvx {

// A companion's PDF of a document file.
struct DocumentPdf {
  int status = 0;       // lvxprint's exit statuses: 0 when `path` holds the PDF
  std::string path;     // where the PDF is
  std::string message;  // otherwise why there is none, for the one line on stderr
};

// Checks `docPath` (absolute) as lvxprint does: blank, missing, not a
// regular file or empty is no document, and an empty one is deleted. Then
// writes every document of the file, in one copy each, as one PDF page for
// page as lvxprint prints it: into `target`, replaced only once the PDF is
// complete, or, when `target` is empty, beside the document under the first
// free name of "name.pdf", "name-2.pdf", ..., never replacing a file. A
// `target` that is the document itself is refused. Never throws.
DocumentPdf WriteDocumentPdf(const std::string& docPath, const std::string& target);

}  // namespace lvx
