// SPDX-License-Identifier: GPL-3.0-or-later
#include "form_lvx_pick.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <filesystem>

#include "guarded.h"
#include "logo.h"
#include "pick_command_line.h"
#include "printer_settings.h"
#include "printer_source.h"
#include "program_folders.h"
#include "settings_writer.h"
#include "text_1252.h"
#include "twips.h"

namespace lvx {
namespace {

constexpr int kFirstCopies = 1;
constexpr int kLastCopies = 29;
constexpr qreal kFontPoints = 8;
const char* const kWebAddress = "ferrolumen.example";

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  return label;
}

// An editable list whose text is exactly what the user chose or typed:
// no completion that could change letter case, no entries added on Enter.
QComboBox* NewEditableList(QWidget* parent, const char* name, QRect geometry) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setGeometry(geometry);
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->setCompleter(nullptr);
  return list;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  // The focused button takes Enter, as in every dialog; else OK does.
  button->setAutoDefault(true);
  return button;
}

}  // namespace

FormLvxPick::FormLvxPick(std::string iniPath, std::string_view commandText,
                         const PrinterSource& printers)
    : FormLvxPick(PrinterSettingsFiles{std::move(iniPath), {}, true}, commandText, printers) {}

FormLvxPick::FormLvxPick(PrinterSettingsFiles settingsFiles, std::string_view commandText,
                         const PrinterSource& printers)
    : settingsFiles_(std::move(settingsFiles)) {
  setObjectName("FormLvxPick");
  setFixedSize(TwipsRect(0, 0, 4935, 2745).size());
  // The controls are sized for small, narrow dialog text; in the desktop's
  // usual font the labels would be cut.
  QFont small = font();
  small.setFamilies({"Liberation Sans", "Arial"});
  small.setPointSizeF(kFontPoints);
  setFont(small);
  CreateControls();
  Form_Load(commandText, printers);
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

void FormLvxPick::CreateControls() {
  Label3 = NewLabel(this, "Label3", "Selezione stampante per documento .lvx",
                    TwipsRect(240, 240, 3375, 255));
  Label2 = NewLabel(this, "Label2", "Nome", TwipsRect(240, 750, 495, 255));
  Combo1 = NewEditableList(this, "Combo1", TwipsRect(960, 720, 3735, 315));
  Label4 = NewLabel(this, "Label4", "nr.copie", TwipsRect(240, 1350, 615, 255));
  Combo2 = NewEditableList(this, "Combo2", TwipsRect(960, 1320, 855, 315));
  Command1 = NewButton(this, "Command1", "&Ok", TwipsRect(2160, 1920, 1215, 495));
  Command2 = NewButton(this, "Command2", "&Annulla", TwipsRect(3600, 1920, 1215, 495));
  Label1 = NewLabel(this, "Label1", kWebAddress, TwipsRect(120, 2490, 1695, 255));
  Image1 = NewLabel(this, "Image1", QString(), TwipsRect(120, 1890, 1290, 525));
  Image1->setPixmap(PickerLogo(devicePixelRatioF()));

  setTabOrder(Combo1, Combo2);
  setTabOrder(Combo2, Command1);
  setTabOrder(Command1, Command2);
  Command1->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, [this] { Guarded([this] { Command1_Click(); }); });
  connect(Command2, &QPushButton::clicked, this, [this] { Guarded([this] { Command2_Click(); }); });
}

void FormLvxPick::Form_Load(std::string_view commandText, const PrinterSource& printers) {
  ProgName = "lvxpick";
  version_ = "v.4.0 - 08/06/06";
  author_ = "T.vardel";
  setWindowTitle("Printer Lvx");

  hideCopies_ = false;
  const PrinterSettings settings = ReadPrinterSettings(settingsFiles_, CopiesBound::kPicker,
                                                       ToBytes1252(printers.DefaultPrinterName()));
  printerName_ = settings.printerName;
  copies_ = settings.copies;

  hideCopies_ = HideCopiesRequested(commandText);
  if (hideCopies_) {
    Label4->hide();
    Combo2->hide();
  }
  FillPrinters(printers);
  FillCopies();
}

void FormLvxPick::FillPrinters(const PrinterSource& printers) {
  // Exact match, letter case included; of equal names the last one wins.
  const QString stored = FromBytes1252(printerName_);
  int selected = -1;
  for (const QString& name : printers.PrinterNames()) {
    Combo1->addItem(name);
    if (name == stored) selected = Combo1->count() - 1;
  }
  if (selected < 0 && Combo1->count() > 0) selected = 0;
  if (selected >= 0) {
    Combo1->setCurrentIndex(selected);
  } else {
    // No printer installed: the stored name stays there to be kept or retyped.
    Combo1->setEditText(stored);
  }
}

void FormLvxPick::FillCopies() {
  for (int copies = kFirstCopies; copies <= kLastCopies; ++copies) {
    Combo2->addItem(QString::number(copies));
  }
  Combo2->setCurrentIndex(Combo2->findText(QString::number(copies_)));
}

void FormLvxPick::Command1_Click() {
  const std::string& iniPath = settingsFiles_.path;
  // The own settings folder of a shared program folder's user may not exist
  // yet; a failure shows below.
  if (!settingsFiles_.createMissing) {
    MakeFolders(std::filesystem::path(iniPath).parent_path().string());
  }
  const SettingsWriteResult written = WritePrinterSettings(
      iniPath, ToBytes1252(Combo1->currentText()), ToBytes1252(Combo2->currentText()));
  if (written.ok) {
    close();
    return;
  }
  // The choice would be lost without a word: say so and let the user decide.
  QMessageBox box(
      QMessageBox::Warning, windowTitle(),
      QString("La scelta non è stata salvata: impossibile scrivere\n%1\n(%2)")
          .arg(QFile::decodeName(iniPath.c_str()), QString::fromLocal8Bit(written.error.c_str())),
      QMessageBox::Ok, this);
  box.exec();
}

void FormLvxPick::Command2_Click() {
  close();
}

void FormLvxPick::Form_Click() {
  QMessageBox box(QMessageBox::NoIcon, "Ferro Lumen srl",
                  ProgName + "\n" + version_ + "\n" + author_, QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

// A click on the form itself, not on one of its controls, shows the about box.
void FormLvxPick::mousePressEvent(QMouseEvent* event) {
  pressedOnForm_ =
      event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr;
}

void FormLvxPick::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const bool click = pressedOnForm_ && event->button() == Qt::LeftButton && rect().contains(at) &&
                     childAt(at) == nullptr;
  pressedOnForm_ = false;
  if (click) Guarded([this] { Form_Click(); });
}

}  // namespace lvx
