// SPDX-License-Identifier: GPL-3.0-or-later
#include "lvx_print.h"

#include <QString>
#include <filesystem>

#include "check_file.h"
#include "cp1252.h"
#include "file_lookup.h"
#include "output_file.h"
#include "pdf_export.h"
#include "pdf_job.h"
#include "print_command.h"
#include "printable_line.h"

namespace lvx {
namespace {

// Where a job for a printer is put together before it is handed over.
std::string SpoolTarget() {
  std::error_code error;
  std::string folder = std::filesystem::temp_directory_path(error).string();
  if (error || folder.empty()) folder = "/tmp";
  return folder + "/lvxprint-job.pdf";
}

}  // namespace

LvxPrint::LvxPrint(PrintPlace place, PrinterSystem& printers, std::ostream& out, std::ostream& err)
    : place_(std::move(place)), printers_(printers), out_(out), err_(err) {}

int LvxPrint::Fail(int status, std::string_view message) {
  err_ << "lvxprint: " << PrintableLine(message) << '\n' << std::flush;
  return status;
}

int LvxPrint::Run(std::string_view commandText) {
  try {
    const PrintCommand command = ParsePrintCommand(commandText, place_.startFolder);
    if (command.tooLong) return Fail(kExitNoDocument, "command line too long");
    DocPath = command.DocPath;
    DocFolder = command.DocFolder;
    DocFileName = command.DocFileName;

    // The default printer stands for a name that is empty here.
    settings = ReadPrinterSettings(place_.settingsFiles, CopiesBound::kBatchPrinter, "");
    CheckResult = CheckFile(DocPath);
    if (CheckResult == kCheckNoName) return Fail(kExitNoDocument, "no document given");
    if (CheckResult != kCheckUsable) {
      return Fail(kExitNoDocument, DocPath + ": no such document, or it is empty");
    }
    copies = CopiesForRun(command.copies, settings.copies);
    const auto docPath = FindFile(DocPath);
    if (!docPath) return Fail(kExitDocumentChanged, DocPath + ": the document vanished");
    if (const int status = EnterDocumentFolder(*docPath); status != kExitPrinted) return status;
    if (!place_.outputFile.empty()) return WriteFile(*docPath);

    const PrinterSystem::Printers installed = printers_.ListPrinters();
    // An unreachable scheduler is no "no printer": the job was meant for one.
    if (!installed.error.empty()) return Fail(kExitJobFailed, installed.error);
    const std::string wanted =
        settings.printerName.empty() ? installed.defaultName : Utf8From1252(settings.printerName);
    const auto printer = ChoosePrinter(installed.names, installed.defaultName, wanted);
    if (!printer) return WriteBeside(*docPath);
    if (!settings.printerName.empty() && *printer != wanted) {
      err_ << "lvxprint: no printer is named \"" << wanted << "\"; printing on " << *printer
           << (*printer == installed.defaultName ? ", the default printer" : "") << '\n'
           << std::flush;
    }
    return PrintOn(*printer, *docPath);
  } catch (const std::exception& e) {
    return Fail(kExitJobFailed, e.what());
  }
}

// Pictures named with a separator are taken from the current folder: the
// document's folder as it is on disk, whatever the letters typed.
int LvxPrint::EnterDocumentFolder(const std::string& docPath) {
  DocFolder = FolderOf(docPath);
  if (const std::string error = ChangeFolder(DocFolder); !error.empty()) {
    return Fail(kExitJobFailed, DocFolder + ": cannot change into the document's folder: " + error);
  }
  return kExitPrinted;
}

int LvxPrint::Render(const std::string& docPath, const AtomicFile& pdf,
                     const std::string& destination, const SheetPaper& paper) {
  switch (WritePdfJob(docPath, DocFolder, copies, pdf.fd(), Source(docPath).title, paper, &pages)) {
    case PdfJobResult::kWritten:
      return kExitPrinted;
    case PdfJobResult::kDocumentChanged:
      return Report({PdfExport::Outcome::kDocumentChanged, {}, {}}, destination);
    case PdfJobResult::kDocumentUnreadable:
      return Report({PdfExport::Outcome::kDocumentUnreadable, {}, {}}, destination);
    case PdfJobResult::kWriteFailed:
      break;
  }
  return Report({PdfExport::Outcome::kJobFailed, {}, {}}, destination);
}

PdfSource LvxPrint::Source(const std::string& docPath) const {
  return {docPath, DocFolder, QString::fromStdString(Utf8From1252(DocFileName)), copies};
}

int LvxPrint::Report(const PdfExport& result, const std::string& target) {
  switch (result.outcome) {
    case PdfExport::Outcome::kWritten:
      return kExitPrinted;
    case PdfExport::Outcome::kNoFile:
      return Fail(kExitJobFailed, target + ": " + result.error);
    case PdfExport::Outcome::kDocumentChanged:
      return Fail(kExitDocumentChanged,
                  DocPath + ": the document changed or vanished while printing; nothing printed");
    case PdfExport::Outcome::kDocumentUnreadable:
      return Fail(kExitDocumentChanged,
                  DocPath + ": the document could not be read; nothing printed");
    case PdfExport::Outcome::kJobFailed:
      break;
  }
  return Fail(kExitJobFailed, "could not write the job for " + target);
}

int LvxPrint::WriteFile(const std::string& docPath) {
  const std::string& target = place_.outputFile;
  return Report(ExportReplacing(Source(docPath), target), target);
}

int LvxPrint::WriteBeside(const std::string& docPath) {
  const std::string target = BesidePdfPath(docPath);
  const PdfExport written = ExportBeside(Source(docPath), target);
  if (const int status = Report(written, target); status != kExitPrinted) return status;
  out_ << "lvxprint: no printer installed; the job is in " << PrintableLine(written.path) << '\n'
       << std::flush;
  return kExitPrinted;
}

int LvxPrint::PrintOn(const std::string& printer, const std::string& docPath) {
  const PrinterSystem::Paper paper = printers_.DefaultPaper(printer);
  if (!paper.error.empty()) return Fail(kExitJobFailed, paper.error);
  AtomicFile pending(SpoolTarget(), AtomicFile::Access::kOwnerOnly);
  if (!pending.ok()) return Fail(kExitJobFailed, "cannot spool the job: " + pending.error());
  if (const int status = Render(docPath, pending, "the printer " + printer, paper.paper);
      status != kExitPrinted) {
    return status;
  }
  const auto submission =
      printers_.SubmitPdf(printer, pending.path(), Utf8From1252(DocFileName), paper.paper);
  if (!submission.ok) {
    return Fail(kExitJobFailed,
                "the printer " + printer + " did not take the job: " + submission.error);
  }
  printerName = printer;
  // As lp names a job: its queue and number.
  out_ << "lvxprint: job " << printer.substr(0, printer.find('/')) << '-' << submission.jobId
       << ", " << pages << (pages == 1 ? " page" : " pages") << '\n'
       << std::flush;
  return kExitPrinted;
}

}  // namespace lvx
