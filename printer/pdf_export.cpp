// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_export.h"

#include <optional>

#include "output_file.h"
#include "pdf_job.h"

namespace lvx {
namespace {

// Writes the job into the pending file; nothing when that went well.
std::optional<PdfExport> Render(const PdfSource& source, const AtomicFile& pending) {
  switch (
      WritePdfJob(source.docPath, source.docFolder, source.copies, pending.fd(), source.title)) {
    case PdfJobResult::kWritten:
      return std::nullopt;
    case PdfJobResult::kDocumentChanged:
      return PdfExport{PdfExport::Outcome::kDocumentChanged, {}, {}};
    case PdfJobResult::kDocumentUnreadable:
      return PdfExport{PdfExport::Outcome::kDocumentUnreadable, {}, {}};
    case PdfJobResult::kWriteFailed:
      break;
  }
  return PdfExport{PdfExport::Outcome::kJobFailed, {}, {}};
}

PdfExport NoFile(const AtomicFile& pending) {
  return {PdfExport::Outcome::kNoFile, {}, pending.error()};
}

}  // namespace

PdfExport ExportReplacing(const PdfSource& source, const std::string& target) {
  try {
    // Refused before anything is made, so that a device or link named here
    // is not even touched; Replace looks again at the end.
    if (!IsReplaceable(target)) {
      return {PdfExport::Outcome::kNoFile, {}, "not a regular file; left as it is"};
    }
    AtomicFile pending(target);
    if (!pending.ok()) return NoFile(pending);
    if (auto failed = Render(source, pending)) return *failed;
    if (!pending.Replace(target)) return NoFile(pending);
    return {PdfExport::Outcome::kWritten, target, {}};
  } catch (const std::exception& e) {
    return {PdfExport::Outcome::kNoFile, {}, e.what()};
  }
}

PdfExport ExportBeside(const PdfSource& source, const std::string& target) {
  try {
    AtomicFile pending(target);
    if (!pending.ok()) return NoFile(pending);
    if (auto failed = Render(source, pending)) return *failed;
    auto written = pending.PublishBeside(target);
    if (!written) return NoFile(pending);
    return {PdfExport::Outcome::kWritten, std::move(*written), {}};
  } catch (const std::exception& e) {
    return {PdfExport::Outcome::kNoFile, {}, e.what()};
  }
}

}  // namespace lvx
