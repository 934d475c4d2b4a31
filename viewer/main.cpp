// SPDX-License-Identifier: GPL-3.0-or-later
// lvxview: shows one lvx document, named on the command line.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>

#include "command_text.h"
#include "handover.h"
#include "platform_qt.h"
#include "printable_line.h"
#include "program_folders.h"
#include "single_instance.h"
#include "startup_report.h"
#include "termination.h"
#include "viewer_session.h"
#include "viewer_windows.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxview DOCUMENT\n"
    "Shows the lvx document DOCUMENT page by page: the page at half size beside\n"
    "its buttons, and either half of it at real size in a zoom window. The whole\n"
    "argument text is the document's path; any text up to /CMD is ignored.\n"
    "Only one viewer runs per user: a second start hands its document to it.\n"
    "Exit status: 0 shown, 1 no usable document (missing or empty), 2 another\n"
    "viewer was running.\n";

// How long a second start waits for the running viewer to take its document.
constexpr int kHandOverTimeoutMs = 3000;

std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// Qt's notes may quote names taken from documents: each stays one line,
// with control characters escaped.
void PrintableMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const std::string line = qFormatLogMessage(type, context, message).toStdString();
  std::fprintf(stderr, "%s\n", lvx::PrintableLine(line).c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  // Taken before any application object can consume arguments it knows.
  std::string commandText = lvx::GetCommandText(argc, argv);
  if (lvx::AnswerInformationRequest(commandText, "lvxview", LVX_VERSION, kUsage)) return 0;
  qInstallMessageHandler(PrintableMessages);
  try {
    lvx::TerminationSignals termination;
    std::unique_ptr<lvx::ViewerSession> session;
    std::unique_ptr<lvx::SingleInstance> instance;
    lvx::StartupOutcome outcome{};
    QString socketPath;
    {
      // The start-up needs no display, so that a viewer that has nothing to
      // show ends silently even where there is none: the application object
      // of the windows comes after it.
      QCoreApplication core(argc, argv);
      const lvx::ProgramFolders folders =
          lvx::FindProgramFolders(LocalPath(QCoreApplication::applicationDirPath()));
      session = std::make_unique<lvx::ViewerSession>(
          lvx::ViewerEnvironment{folders.AppFolder, std::move(commandText),
                                 LocalPath(QDir::currentPath()), folders.workFolder});
      const QString lockPath =
          lvx::SingleInstance::LockPathFor(QString::fromStdString(session->ProgName));
      socketPath = lvx::HandoverSocketPath(lockPath);
      instance = std::make_unique<lvx::SingleInstance>(lockPath);
      const lvx::QtPlatformInfo platform;
      outcome = session->StartUp([&] { return instance->Claim(); }, platform);
      bool handedOver = false;
      if (outcome == lvx::StartupOutcome::kOtherInstance) {
        handedOver = lvx::HandDocumentOver(socketPath, lvx::HandedDocumentPath(*session),
                                           kHandOverTimeoutMs);
      }
      if (outcome != lvx::StartupOutcome::kShowPageWindow) {
        std::cerr << lvx::StartupReport(outcome, *session, handedOver) << '\n' << std::flush;
      }
    }
    if (outcome != lvx::StartupOutcome::kShowPageWindow || termination.Requested()) {
      return lvx::ExitStatus(outcome);
    }

    QApplication app(argc, argv);
    // The title of the viewer's message boxes.
    QApplication::setApplicationName(QString::fromStdString(session->ProgName));
    lvx::ViewerWindows windows(*session);
    QObject::connect(&windows.page(), &lvx::PageWindow::ExitRequested, &app,
                     &QCoreApplication::quit);
    // A signal during an action (a companion's run, a message box) is
    // carried out when the action is over, never dropped.
    termination.CallOnSignal([&windows] { windows.page().RequestExit(); });
    lvx::HandoverServer handover;
    QObject::connect(&handover, &lvx::HandoverServer::DocumentReceived, &windows.live(),
                     &lvx::LiveView::HandOver);
    handover.Listen(socketPath);
    windows.Start();
    return QApplication::exec();
  } catch (const std::exception&) {
    // Nothing is ever reported to the user; the status tells a caller.
    return 1;
  }
}
