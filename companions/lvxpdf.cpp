// SPDX-License-Identifier: GPL-3.0-or-later
// lvxpdf: writes every document of a file as one PDF, page for page as
// lvxprint prints it, and opens it in the desktop's PDF viewer.
#include <chrono>
#include <iostream>

#include "command_text.h"
#include "companion_app.h"
#include "companion_command.h"
#include "document_pdf.h"
#include "hand_off.h"
#include "lvx_print.h"
#include "printable_line.h"
#include "signal_cleanup.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxpdf DOCUMENT [--output FILE] [--no-open]\n"
    "Writes every document of the file DOCUMENT as one PDF file, one copy each,\n"
    "page for page as lvxprint prints it: beside the document (its name with\n"
    ".pdf, or name-2.pdf, name-3.pdf, ... when that exists: no file is ever\n"
    "replaced), or into FILE, which is replaced only once the PDF is complete.\n"
    "Then opens it in the desktop's PDF viewer (xdg-open), unless --no-open.\n"
    "Exit status: 0 written, 1 no usable document, 2 the document changed while\n"
    "it was read, 3 the PDF could not be written.\n";

// How long a failing xdg-open is waited for; one that still runs then has
// handed the file to a viewer.
constexpr std::chrono::seconds kOpenWait{3};

int Fail(int status, const std::string& message) {
  std::cerr << "lvxpdf: " << lvx::PrintableLine(message) << '\n' << std::flush;
  return status;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (lvx::AnswerInformationRequest(lvx::GetCommandText(argc, argv), "lvxpdf", LVX_VERSION,
                                    kUsage)) {
    return 0;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const lvx::PdfCommand command = lvx::ParsePdfCommand(arguments, lvx::CompanionApp::StartFolder());
  if (!command.error.empty()) return Fail(lvx::kExitNoDocument, command.error);

  // A run stopped from outside leaves no half-written PDF behind and says so.
  lvx::SignalCleanup::Install("lvxpdf", lvx::kExitJobFailed);
  const lvx::CompanionApp app(argv[0]);
  const lvx::DocumentPdf pdf = lvx::WriteDocumentPdf(command.document, command.output);
  if (pdf.status != lvx::kExitPrinted) return Fail(pdf.status, pdf.message);
  std::cout << "lvxpdf: the PDF is in " << lvx::PrintableLine(pdf.path) << '\n' << std::flush;
  if (!command.open) return lvx::kExitPrinted;

  const auto opened = lvx::HandOff("xdg-open", {pdf.path}, app.ChildEnvironment(), kOpenWait);
  // The PDF is written whatever the viewer does: the run succeeded.
  if (!opened.ok()) {
    std::cerr << "lvxpdf: " << lvx::PrintableLine(lvx::HandOffFailure("xdg-open", opened)) << '\n';
  }
  return lvx::kExitPrinted;
}
