// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_job.h"

#include <sys/stat.h>

#include <optional>

#include "output_file.h"
#include "pdf_page_view.h"
#include "pdf_sheet.h"
#include "picture_cache.h"
#include "print_run.h"
#include "sheet_page_view.h"
#include "view_scale.h"

namespace lvx {
namespace {

// What tells one version of a file from another.
struct FileVersion {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileVersion&) const = default;
};

std::optional<FileVersion> VersionOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileVersion{st.st_dev, st.st_ino, st.st_size,
                     std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

PdfJobResult WritePdfJob(const std::string& docPath, const std::string& docFolder, int copies,
                         int pdfFd, const QString& title, const SheetPaper& paper, int* pageCount) {
  try {
    const auto before = VersionOf(docPath);
    PdfSheet sheet(pdfFd, title, paper);
    SheetPages pages(sheet);
    PdfPageView painterView(sheet, ViewScale::Millimetres(sheet.resolution()));
    SheetPageView view(pages, painterView);
    PictureCache pictures;
    PrintRun run(view, pages, &pictures);
    const bool read = run.Run(docPath, docFolder, copies);
    const bool finished = pages.Finish();
    // A document replaced, cut or rewritten while it was printed gives a
    // mixture of two versions: no job at all is better.
    if (!read && run.ReadFailed()) return PdfJobResult::kDocumentUnreadable;
    if (!read || !before || VersionOf(docPath) != before) return PdfJobResult::kDocumentChanged;
    if (!finished || !IsCompletePdf(pdfFd)) return PdfJobResult::kWriteFailed;
    if (pageCount != nullptr) *pageCount = pages.pagesOpened();
    return PdfJobResult::kWritten;
  } catch (const std::exception&) {
    return PdfJobResult::kWriteFailed;
  }
}

}  // namespace lvx
