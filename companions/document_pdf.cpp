// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_pdf.h"

#include <sys/stat.h>

#include "check_file.h"
#include "cp1252.h"
#include "lvx_print.h"
#include "output_file.h"
#include "pdf_export.h"

namespace lvx {
namespace {

bool SameFile(const std::string& one, const std::string& other) {
  struct stat a {};
  struct stat b {};
  return ::stat(one.c_str(), &a) == 0 && ::stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

DocumentPdf Failure(int status, std::string message) {
  return {status, {}, std::move(message)};
}

}  // namespace

DocumentPdf WriteDocumentPdf(const std::string& docPath, const std::string& target) {
  try {
    std::string found;
    const auto check = CheckFile(docPath, found);
    if (check == kCheckNoName) return Failure(kExitNoDocument, "no document given");
    if (check != kCheckUsable) {
      return Failure(kExitNoDocument, docPath + ": no such document, or it is empty");
    }
    if (!target.empty() && SameFile(target, found)) {
      return Failure(kExitJobFailed, target + ": is the document itself; it stays as it is");
    }
    // Merged files and pictures are found in the folder as found, not as typed.
    const auto slash = found.rfind('/');
    const std::string folder = slash == 0 ? "/" : found.substr(0, slash);
    const std::string name = found.substr(slash + 1);
    const PdfSource source{found, folder, QString::fromStdString(Utf8From1252(name)), 1};
    const PdfExport written = target.empty() ? ExportBeside(source, BesidePdfPath(found))
                                             : ExportReplacing(source, target);
    const std::string destination = target.empty() ? BesidePdfPath(found) : target;
    switch (written.outcome) {
      case PdfExport::Outcome::kWritten:
        return {kExitPrinted, written.path, {}};
      case PdfExport::Outcome::kNoFile:
        return Failure(kExitJobFailed, destination + ": " + written.error);
      case PdfExport::Outcome::kDocumentChanged:
        return Failure(kExitDocumentChanged,
                       docPath + ": the document changed or vanished while it was read; no PDF");
      case PdfExport::Outcome::kDocumentUnreadable:
        return Failure(kExitDocumentChanged, docPath + ": the document could not be read; no PDF");
      case PdfExport::Outcome::kJobFailed:
        break;
    }
    return Failure(kExitJobFailed, "could not write the PDF " + destination);
  } catch (const std::exception& e) {
    return Failure(kExitJobFailed, e.what());
  }
}

}  // namespace lvx
