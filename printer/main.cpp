// SPDX-License-Identifier: GPL-3.0-or-later
// lvxprint: prints every document of a file, in the copies asked for, as
// one job on the printer chosen in lvxprint.ini, without any window.
#include <QFile>
#include <QGuiApplication>
#include <filesystem>
#include <iostream>

#include "lvx_print.h"
#include "print_command.h"
#include "printable_line.h"
#include "printer_system.h"
#include "program_folders.h"
#include "signal_cleanup.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxprint DOCUMENT [/C:COPIES]\n"
    "Prints every document of the file DOCUMENT, each in COPIES copies (1 to 99;\n"
    "without /C: as set in lvxprint.ini), as one job on the printer named in\n"
    "lvxprint.ini, or on the default printer.\n"
    "lvxprint.ini lies beside the program; where the program folder is shared\n"
    "(installed, or read-only), each user has one in $XDG_CONFIG_HOME/lvx\n"
    "(~/.config/lvx), and until there is one, the one beside the program is read.\n"
    "A job for a printer is laid out on the printer's default paper, measured from\n"
    "the corner of its printable area; a printed job is named on standard output.\n"
    "With LVXPRINT_OUTPUT naming a file, the job is written there as PDF instead.\n"
    "With no printer installed, it is written as a PDF file beside the document.\n"
    "CUPS_SERVER (or ServerName in client.conf) names the print server.\n"
    "Exit status: 0 printed, 1 no usable document, 2 the document changed or\n"
    "could not be read while printing, 3 the job could not be made or handed over\n"
    "(or the run was stopped by a signal).\n";

// Qt's own notes would muddle the one line lvxprint writes when it fails.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "lvxprint: " << lvx::PrintableLine(message.toStdString()) << '\n';
  }
}

std::string StartFolder() {
  std::error_code error;
  const auto folder = std::filesystem::current_path(error);
  return error ? std::string("/") : folder.string();
}

// LVXPRINT_OUTPUT as an absolute path; empty when not set.
std::string OutputFile(const std::string& startFolder) {
  const char* output = std::getenv("LVXPRINT_OUTPUT");
  if (output == nullptr || *output == '\0') return {};
  const std::filesystem::path path(output);
  return path.is_absolute() ? path.string() : (startFolder / path).string();
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::string commandText = lvx::GetCommandText(argc, argv);
  if (lvx::AnswerInformationRequest(commandText, "lvxprint", LVX_VERSION, kUsage)) return 0;

  // Printing needs fonts and a paint device, never a display: the smallest
  // platform that has the system's fonts, whatever the environment asks
  // for (cron, ssh and desktop sessions hand on xcb or wayland without a
  // display to reach), and no desktop theme, whose plugins open one.
  qputenv("QT_QPA_PLATFORM", "minimal:enable_fonts");
  qunsetenv("QT_QPA_PLATFORMTHEME");
  qInstallMessageHandler(QuietQt);
  // A run stopped from outside leaves no half-written job behind and says so.
  lvx::SignalCleanup::Install("lvxprint", lvx::kExitJobFailed);
  // The arguments are a document path, not options for Qt.
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  lvx::PrintPlace place;
  place.AppFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  place.settingsFiles = lvx::PrinterSettingsFilesFor(lvx::FindProgramFolders(place.AppFolder));
  place.startFolder = StartFolder();
  place.outputFile = OutputFile(place.startFolder);
  lvx::CupsPrinterSystem printers;
  lvx::LvxPrint program(place, printers, std::cout, std::cerr);
  return program.Run(commandText);
}
