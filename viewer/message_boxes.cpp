// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace lvx {

bool AskOkCancel(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annulla"));
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace lvx
