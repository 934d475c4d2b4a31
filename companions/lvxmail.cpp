// SPDX-License-Identifier: GPL-3.0-or-later
// lvxmail: makes a PDF of a document and hands a new message with it
// attached, addressed from the document's "*EMAIL" records, to the
// desktop's mail program.
#include <chrono>
#include <filesystem>
#include <iostream>

#include "command_text.h"
#include "companion_app.h"
#include "companion_command.h"
#include "document_pdf.h"
#include "hand_off.h"
#include "header_records.h"
#include "lvx_print.h"
#include "mail_folder.h"
#include "mail_message.h"
#include "output_file.h"
#include "printable_line.h"
#include "signal_cleanup.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxmail DOCUMENT [/T:n]\n"
    "Makes a PDF of every document of the file DOCUMENT, one copy each, as\n"
    "lvxprint prints it, in $XDG_RUNTIME_DIR/lvx/mail (removed at the next run\n"
    "or at log-out), and hands a new message to the desktop's mail program\n"
    "(xdg-email) with the PDF attached: the document's *EMAIL records give its\n"
    "recipients (/T:), cc (/C:), bcc (/B:), subject (/O:) and body (/M: lines).\n"
    "/T:n is accepted and ignored.\n"
    "Exit status: 0 handed over, 1 no usable document, 2 the document changed\n"
    "while it was read, 3 the PDF or the message could not be made.\n";

// How long a failing xdg-email is waited for; one that still runs then has
// handed the message to the mail program.
constexpr std::chrono::seconds kMailWait{3};

int Fail(int status, const std::string& message) {
  std::cerr << "lvxmail: " << lvx::PrintableLine(message) << '\n' << std::flush;
  return status;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (lvx::AnswerInformationRequest(lvx::GetCommandText(argc, argv), "lvxmail", LVX_VERSION,
                                    kUsage)) {
    return 0;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const lvx::MailCommand command =
      lvx::ParseMailCommand(arguments, lvx::CompanionApp::StartFolder());
  if (!command.error.empty()) return Fail(lvx::kExitNoDocument, command.error);

  // A run stopped from outside leaves no half-written PDF behind and says so.
  lvx::SignalCleanup::Install("lvxmail", lvx::kExitJobFailed);
  const lvx::CompanionApp app(argv[0]);
  std::string error;
  const std::string folder = lvx::FreshRunFolder(lvx::MailFolder(), error);
  if (folder.empty()) return Fail(lvx::kExitJobFailed, error);
  const auto Abandon = [&](int status, const std::string& message) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return Fail(status, message);
  };
  const std::string name = std::filesystem::path(command.document).filename().string();
  const lvx::DocumentPdf pdf =
      lvx::WriteDocumentPdf(command.document, folder + "/" + lvx::BesidePdfPath(name));
  if (pdf.status != lvx::kExitPrinted) return Abandon(pdf.status, pdf.message);

  lvx::HeaderRecords header;
  header.ReadHeaderRecords(command.document);
  const auto mailed = lvx::HandOff("xdg-email", lvx::MailArguments(header, pdf.path),
                                   app.ChildEnvironment(), kMailWait);
  if (!mailed.ok()) return Abandon(lvx::kExitJobFailed, lvx::HandOffFailure("xdg-email", mailed));
  return lvx::kExitPrinted;
}
