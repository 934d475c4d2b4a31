// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace lvx {

// A modal question with the buttons OK and "Annulla"; true for OK.
bool AskOkCancel(QWidget* parent, const QString& title, const QString& text);

// A modal message with an OK button.
void ShowMessage(QWidget* parent, const QString& title, const QString& text);

}  // namespace lvx
