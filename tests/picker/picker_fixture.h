// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

#include "form_lvx_pick.h"
#include "printer_source.h"
#include "temp_dir.h"

namespace lvx::testing {

// Printers as a test wants them.
class FixedPrinters final : public PrinterSource {
 public:
  FixedPrinters(QStringList names, QString defaultName)
      : names_(std::move(names)), default_(std::move(defaultName)) {}
  QStringList PrinterNames() const override { return names_; }
  QString DefaultPrinterName() const override { return default_; }

 private:
  QStringList names_;
  QString default_;
};

// What a message box showed.
struct ShownBox {
  QString title;
  QString text;
  int buttons = 0;
};

// Answers the first modal message box that opens while it lives with its
// OK button, keeping what the box showed.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || shown) return;
      shown = ShownBox{box->windowTitle(), box->text(), static_cast<int>(box->buttons().size())};
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start(5);
  }

  std::optional<ShownBox> shown;

 private:
  QTimer timer_;
};

template <typename T>
T* Child(const QWidget& form, const char* name) {
  return form.findChild<T*>(name);
}

inline QComboBox* Combo(const QWidget& form, const char* name) {
  return Child<QComboBox>(form, name);
}

}  // namespace lvx::testing
