// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace lvx {

bool AskOkCancel(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
  // Header values are the document's own text: "<b>" stays "<b>".
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annulla"));
  box.setDefaultButton(QMessageBox::Ok);
  return box.exec() == QMessageBox::Ok;
}

void ShowMessage(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace lvx
