// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "atomic_file.h"
#include "pdf_export.h"
#include "printer_settings.h"
#include "printer_system.h"

namespace lvx {

// Exit statuses of lvxprint.
inline constexpr int kExitPrinted = 0;          // the job was handed over
inline constexpr int kExitNoDocument = 1;       // no, a missing or an empty document
inline constexpr int kExitDocumentChanged = 2;  // it vanished, changed or failed to read
inline constexpr int kExitJobFailed = 3;        // the job could not be made or handed over

// Where lvxprint runs.
struct PrintPlace {
  std::string AppFolder;    // the folder of the program
  std::string startFolder;  // the current folder at start, absolute
  // Absolute path of the PDF file that takes the job instead of a printer
  // (LVXPRINT_OUTPUT); empty to print.
  std::string outputFile;
  // lvxprint.ini: AppFolder's own, or the user's for a shared AppFolder.
  PrinterSettingsFiles settingsFiles;
};

// One run of the batch printer: reads the command text and lvxprint.ini,
// checks the document, chooses the printer and prints every document of the
// file in all copies as one job: on the chosen printer, laid out on its
// default paper from the corner of the printable area (one line on `out`
// names the job; one on `err` says so when the stored printer is not
// there), into `outputFile` when set, or, with no printer installed, into a
// new PDF file beside the document (named on `out`); the two files are A4
// from the sheet's corner. A printing system that cannot be asked fails the
// run. Changes the current folder to the document's as found on disk, and
// fails when it cannot. Returns the exit status; unless it is kExitPrinted
// nothing was printed or written and `err` got one line saying why (control
// characters in it escaped, see PrintableLine). Never throws.
class LvxPrint {
 public:
  LvxPrint(PrintPlace place, PrinterSystem& printers, std::ostream& out, std::ostream& err);

  int Run(std::string_view commandText);

  // The state of the run, for those who look after it.
  std::string DocPath;
  std::string DocFolder;
  std::string DocFileName;
  std::int16_t CheckResult = 0;
  PrinterSettings settings;
  std::int16_t copies = 1;
  std::string printerName;  // the printer that got the job; empty for a file
  int pages = 0;            // pages in the job once written

 private:
  int EnterDocumentFolder(const std::string& docPath);
  int PrintOn(const std::string& printer, const std::string& docPath);
  int WriteFile(const std::string& docPath);
  int WriteBeside(const std::string& docPath);
  PdfSource Source(const std::string& docPath) const;
  // The exit status for a job written into `target`, with its line on `err`.
  int Report(const PdfExport& result, const std::string& target);
  int Render(const std::string& docPath, const AtomicFile& pdf, const std::string& destination,
             const SheetPaper& paper);
  int Fail(int status, std::string_view message);

  PrintPlace place_;
  PrinterSystem& printers_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace lvx
