// SPDX-License-Identifier: GPL-3.0-or-later
// lvxpick: the dialog in which the user chooses the printer and the copies
// that lvxprint uses, stored in lvxprint.ini beside the programs (or, for
// programs in a shared folder, in the user's own settings folder).
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "command_text.h"
#include "form_lvx_pick.h"
#include "printable_line.h"
#include "printer_settings.h"
#include "printer_source.h"
#include "program_folders.h"
#include "single_instance.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxpick [/NOCOPIES]\n"
    "Shows the installed printers and the copies 1 to 29, with the stored choice\n"
    "selected; Ok stores the choice in lvxprint.ini for lvxprint (see lvxprint\n"
    "--help for where that file lies), Annulla leaves it as it was. /NOCOPIES\n"
    "hides the copies. Only one picker runs per user. Exit status: 0.\n";

// Qt's notes may quote names taken from documents: each stays one line,
// with control characters escaped.
void PrintableMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const std::string line = qFormatLogMessage(type, context, message).toStdString();
  std::fprintf(stderr, "%s\n", lvx::PrintableLine(line).c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  // Taken before QApplication removes the options it knows from argv.
  const std::string commandText = lvx::GetCommandText(argc, argv);
  // Answered without a display.
  if (lvx::AnswerInformationRequest(commandText, "lvxpick", LVX_VERSION, kUsage)) return 0;
  qInstallMessageHandler(PrintableMessages);
  QApplication app(argc, argv);
  lvx::SingleInstance instance(lvx::SingleInstance::LockPathFor("lvxpick"));
  if (!instance.Claim()) return 0;

  const lvx::CupsPrinters printers;
  const std::string appFolder =
      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  lvx::FormLvxPick form(lvx::PrinterSettingsFilesFor(lvx::FindProgramFolders(appFolder)),
                        commandText, printers);
  form.show();
  return QApplication::exec();
}
