// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <string_view>

#include "printer_settings.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace lvx {

class PrinterSource;

// The printer picker's dialog. It shows the printers and the copies 1 to
// 29 with the choice stored in lvxprint.ini preselected; OK stores the two
// texts as they stand and closes, Cancel or closing the window stores
// nothing. When the file cannot be written it says so and stays open. As
// in every dialog, Enter is OK (or the focused button) and Escape Cancel.
class FormLvxPick : public QDialog {
  Q_OBJECT

 public:
  // `settingsFiles` says where lvxprint.ini is read and written (local file
  // names), `commandText` is the program's command text. Reads the settings
  // (creating an empty file when there is none and the files say so) and
  // fills both lists; show the form to wait for the user. For a shared
  // program folder (no file is created missing), OK makes the folder of the
  // file it writes when that is missing.
  FormLvxPick(PrinterSettingsFiles settingsFiles, std::string_view commandText,
              const PrinterSource& printers);
  // `iniPath` is read and written, as in a program folder of its own.
  FormLvxPick(std::string iniPath, std::string_view commandText, const PrinterSource& printers);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void CreateControls();
  void Form_Load(std::string_view commandText, const PrinterSource& printers);
  void FillPrinters(const PrinterSource& printers);
  void FillCopies();
  void Command1_Click();
  void Command2_Click();
  void Form_Click();

  const PrinterSettingsFiles settingsFiles_;
  // Kept for the about box.
  QString ProgName;
  QString version_;
  QString author_;
  // The stored choice: the printer's name in Windows-1252 bytes as read,
  // the copies bounded to 1..29.
  std::string printerName_;
  std::int16_t copies_ = 1;
  bool hideCopies_ = false;
  bool pressedOnForm_ = false;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Image1 = nullptr;
  QComboBox* Combo1 = nullptr;
  QComboBox* Combo2 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
};

}  // namespace lvx
