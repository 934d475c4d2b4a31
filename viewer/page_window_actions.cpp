// SPDX-License-Identifier: GPL-3.0-or-later
// The page window's buttons that hand the document to other programs or
// show its addressing data.
#include <QFile>

#include "guarded.h"
#include "message_boxes.h"
#include "messages.h"
#include "page_window.h"

namespace lvx {

PageWindowServices PageWindowServices::FromDesktop(QWidget* parent) {
  PageWindowServices services;
  services.AskOkCancel = [parent](const QString& title, const QString& text) {
    return lvx::AskOkCancel(parent, title, text);
  };
  services.ShowMessage = [parent](const QString& title, const QString& text) {
    lvx::ShowMessage(parent, title, text);
  };
  services.Editor = EditorSources::FromSystem();
  return services;
}

QString PageWindow::DocumentArgument() const {
  return QFile::decodeName(QByteArray::fromStdString(document_.session().DocPath));
}

CompanionCommand PageWindow::CompanionCmd(const char* name, const char* extra) const {
  const ViewerSession& session = document_.session();
  CompanionCommand command{session.AppFolder + "/" + name, {session.DocPath}};
  if (extra != nullptr) command.arguments.emplace_back(extra);
  return command;
}

void PageWindow::Command3_Click() {
  RunAction([this] { OpenInEditor(services_.Editor, DocumentArgument()); });
}

void PageWindow::Command4_Click() {
  RunAction([this] {
    const ViewerSession& session = document_.session();
    const QString program = QFile::decodeName(session.AppFolder.c_str()) + "/lvxprint";
    printFeedback_.StartPrint(program, {DocumentArgument()},
                              QFile::decodeName(QByteArray::fromStdString(session.DocFileName)));
  });
}

void PageWindow::Command5_Click() {
  RunAction([this] {
    StartDetached({QFile::decodeName(document_.session().AppFolder.c_str()) + "/lvxpick", {}});
  });
}

void PageWindow::Command6_Click() {
  RunAction([this] { runner_.RunCompanion(CompanionCmd("lvxpdf")); });
}

void PageWindow::Command8_Click() {
  RunAction([this] { runner_.RunCompanion(CompanionCmd("lvxmail", "/T:2")); });
}

void PageWindow::Command9_Click() {
  if (Busy != 0) return;
  Busy = 1;
  Guarded([this] {
    const QString question = MessageBoxText(FaxQuestion(document_.session().Header));
    if (!services_.AskOkCancel(QString::fromLatin1(kFaxTitle), question)) return;
    // A termination signal during the question answers it with Cancel.
    if (exitRequested_) return;
    LockedAround([this] { runner_.RunCompanion(CompanionCmd("lvxfax")); });
  });
  Busy = 0;
  Idle();
}

void PageWindow::Command10_Click() {
  if (Busy != 0) return;
  Busy = 1;
  Guarded([this] {
    const ViewerSession& session = document_.session();
    services_.ShowMessage(QString::fromStdString(session.ProgName),
                          MessageBoxText(InfoMessage(session.Header)));
  });
  Busy = 0;
  Idle();
}

}  // namespace lvx
