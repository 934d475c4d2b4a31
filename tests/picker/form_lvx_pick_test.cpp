// SPDX-License-Identifier: GPL-3.0-or-later
#include "form_lvx_pick.h"

#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include <gtest/gtest.h>

#include "file_size_limit.h"
#include "picker_fixture.h"
#include "printer_settings.h"
#include "settings_writer.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::Combo;
using testing::FixedPrinters;
using testing::MessageBoxAnswerer;
using testing::ReadAll;
using testing::TempDir;

const QStringList kThree = {"Office", "Laser", "Label"};

class FormLvxPickTest : public ::testing::Test {
 protected:
  std::unique_ptr<FormLvxPick> Open(const FixedPrinters& installed, std::string_view command = "") {
    auto form = std::make_unique<FormLvxPick>(ini, command, installed);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
  }
  std::unique_ptr<FormLvxPick> Open(std::string_view command = "") {
    return Open(printers, command);
  }
  void Click(const FormLvxPick& form, const char* button) {
    QTest::mouseClick(testing::Child<QPushButton>(form, button), Qt::LeftButton);
  }
  static void Retype(QComboBox* list, const QString& text) {
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClick(list->lineEdit(), Qt::Key_Backspace);
    for (const QChar c : text) {
      if (c.unicode() < 128) {
        QTest::keyClicks(list->lineEdit(), QString(c));
      } else {
        // What a keyboard layout with that character sends; QTest has no key for it.
        QTest::sendKeyEvent(QTest::Click, list->lineEdit(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
      }
    }
  }

  TempDir dir;
  std::string ini = PrinterSettingsPath(dir.path());
  FixedPrinters printers{kThree, "Label"};
};

TEST_F(FormLvxPickTest, StartPreselectsTheStoredChoice) {
  const struct {
    const char* file;  // nullptr: no settings file
    QStringList installed;
    QString defaultPrinter;
    int printerIndex;
    QString printerText;
    QString copiesText;
  } rows[] = {
      {"PRINTER=Laser\r\nCOPIES=3\r\n", kThree, "Label", 1, "Laser", "3"},
      {"Printer=Label\r\nCopies=29\r\n", kThree, "Office", 2, "Label", "29"},
      {nullptr, kThree, "Label", 2, "Label", "1"},
      {"", kThree, "Laser", 1, "Laser", "1"},
      // Not installed, or differing in case or blanks: the first printer.
      {"PRINTER=Gone\r\n", kThree, "Label", 0, "Office", "1"},
      {"PRINTER=laser\r\n", kThree, "Label", 0, "Office", "1"},
      {"PRINTER= Laser\r\n", kThree, "Label", 0, "Office", "1"},
      {"PRINTER=A\r\n", {"A", "B", "A"}, "B", 2, "A", "1"},
      {"COPIES=50\r\n", kThree, "Label", 2, "Label", "29"},
      {"COPIES=0\r\n", kThree, "Label", 2, "Label", "1"},
      {"COPIES=2.5\r\n", kThree, "Label", 2, "Label", "2"},
      {"COPIES=abc\r\n", kThree, "Label", 2, "Label", "1"},
      // No printer installed: the list is empty and shows the stored name.
      {"PRINTER=Laser\r\nCOPIES=4\r\n", {}, "", -1, "Laser", "4"},
      {"", {}, "", -1, "", "1"},
  };
  for (const auto& row : rows) {
    const TempDir rowDir;
    ini = PrinterSettingsPath(rowDir.path());
    if (row.file) rowDir.Write("lvxprint.ini", row.file);
    const auto form = Open(FixedPrinters(row.installed, row.defaultPrinter));
    const std::string what = row.file ? row.file : "(no file)";
    EXPECT_EQ(Combo(*form, "Combo1")->count(), row.installed.size()) << what;
    EXPECT_EQ(Combo(*form, "Combo1")->currentIndex(), row.printerIndex) << what;
    EXPECT_EQ(Combo(*form, "Combo1")->currentText(), row.printerText) << what;
    EXPECT_EQ(Combo(*form, "Combo2")->currentText(), row.copiesText) << what;
    EXPECT_EQ(Combo(*form, "Combo2")->count(), 29) << what;
    EXPECT_TRUE(fs::is_regular_file(ini)) << what;
  }
}

TEST_F(FormLvxPickTest, NoCopiesHidesTheCopiesAfterCmdOnly) {
  const struct {
    const char* command;
    bool hidden;
  } rows[] = {
      {"", false},
      {"/NOCOPIES", true},
      {"/nocopies", true},
      {"\"/NoCopies\"", true},
      {"/NOCOPIES /CMD", false},
      {"/NOCOPIES /CMD x", false},
      {"x /CMD /NOCOPIES", true},
      {"/cmd /nocopies", true},
  };
  for (const auto& row : rows) {
    const auto form = Open(row.command);
    EXPECT_EQ(testing::Child<QLabel>(*form, "Label4")->isHidden(), row.hidden) << row.command;
    EXPECT_EQ(Combo(*form, "Combo2")->isHidden(), row.hidden) << row.command;
    EXPECT_FALSE(Combo(*form, "Combo1")->isHidden()) << row.command;
  }
}

TEST_F(FormLvxPickTest, OkWithHiddenCopiesStoresTheStoredCopiesBounded) {
  dir.Write("lvxprint.ini", "PRINTER=Laser\r\nCOPIES=50\r\n");
  const auto form = Open("/CMD /NOCOPIES");
  Click(*form, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Laser", "29"));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(FormLvxPickTest, OkStoresTheChosenEntries) {
  dir.Write("lvxprint.ini", "PRINTER=Laser\r\nCOPIES=3\r\n");
  const auto form = Open();
  Combo(*form, "Combo1")->setCurrentIndex(2);
  Combo(*form, "Combo2")->setCurrentIndex(4);
  Click(*form, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Label", "5"));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(FormLvxPickTest, OkStoresTypedTextsAsTheyStand) {
  const auto form = Open();
  Retype(Combo(*form, "Combo1"), "laser ");
  Retype(Combo(*form, "Combo2"), "40");
  Click(*form, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("laser ", "40"));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Combo(*form, "Combo1")->count(), 3);

  // lvxprint prints 40 copies; the picker shows 29 next time.
  EXPECT_EQ(ReadPrinterSettings(ini, CopiesBound::kBatchPrinter, "").copies, 40);
  const auto again = Open();
  EXPECT_EQ(Combo(*again, "Combo2")->currentText(), "29");

  // The start of a printer's name stays as typed, not completed.
  const auto prefix = Open();
  Retype(Combo(*prefix, "Combo1"), "Lab");
  Click(*prefix, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Lab", "29"));
}

TEST_F(FormLvxPickTest, TypedTextIsStoredInWindows1252) {
  const auto form = Open();
  Retype(Combo(*form, "Combo1"), QString::fromUtf8("Stampante \u00e0 \u20ac \u03a9"));
  Click(*form, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Stampante \xE0 \x80 ?", "1"));
}

TEST_F(FormLvxPickTest, WithoutPrintersOkStoresWhatTheListShows) {
  dir.Write("lvxprint.ini", "PRINTER=Laser\r\nCOPIES=4\r\n");
  const FixedPrinters none({}, "");
  const auto kept = Open(none);
  Click(*kept, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Laser", "4"));

  const auto typed = Open(none);
  Retype(Combo(*typed, "Combo1"), "Typed");
  Click(*typed, "Command1");
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Typed", "4"));
}

TEST_F(FormLvxPickTest, InASharedFolderTheUsersOwnFileIsWritten) {
  const std::string shared = dir.Write("app/lvxprint.ini", "PRINTER=Laser\r\nCOPIES=3\r\n");
  const std::string own = dir.path() + "/config/lvx/lvxprint.ini";
  const PrinterSettingsFiles files{own, shared, false};
  const auto first = std::make_unique<FormLvxPick>(files, "", printers);
  // The choice made for everyone is preselected until the user makes one.
  EXPECT_EQ(Combo(*first, "Combo1")->currentText(), "Laser");
  EXPECT_EQ(Combo(*first, "Combo2")->currentText(), "3");
  Combo(*first, "Combo2")->setCurrentIndex(4);
  Click(*first, "Command1");
  EXPECT_EQ(ReadAll(own), PrinterSettingsText("Laser", "5"));
  EXPECT_EQ(ReadAll(shared), "PRINTER=Laser\r\nCOPIES=3\r\n");
  EXPECT_EQ(fs::status(dir.path() + "/config").permissions(), fs::perms::owner_all);

  const auto again = std::make_unique<FormLvxPick>(files, "", printers);
  EXPECT_EQ(Combo(*again, "Combo2")->currentText(), "5");
}

TEST_F(FormLvxPickTest, CancelAndCloseLeaveTheFileAsItWas) {
  const std::string old = "printer=Laser\nCOPIES=50\r\n\xE0 no line end";
  dir.Write("lvxprint.ini", old);
  const auto cancelled = Open();
  Combo(*cancelled, "Combo1")->setCurrentIndex(0);
  Click(*cancelled, "Command2");
  EXPECT_FALSE(cancelled->isVisible());
  EXPECT_EQ(ReadAll(ini), old);

  const auto closed = Open();
  Retype(Combo(*closed, "Combo2"), "7");
  EXPECT_TRUE(closed->close());
  EXPECT_EQ(ReadAll(ini), old);
}

TEST_F(FormLvxPickTest, EnterIsOkEscapeIsCancel) {
  const std::string old = "PRINTER=Laser\r\nCOPIES=3\r\n";
  const struct {
    const char* focus;  // the control that has the focus
    Qt::Key key;
    bool written;
  } rows[] = {
      {"Combo1", Qt::Key_Return, true},   {"Combo2", Qt::Key_Enter, true},
      {"Command1", Qt::Key_Return, true}, {"Command2", Qt::Key_Return, false},
      {"Combo1", Qt::Key_Escape, false},  {"Command1", Qt::Key_Escape, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.focus << " " << row.key);
    dir.Write("lvxprint.ini", old);
    const auto form = Open();
    EXPECT_TRUE(qobject_cast<QDialog*>(form.get()) != nullptr);
    Retype(Combo(*form, "Combo2"), "7");
    auto* focus = form->findChild<QWidget*>(row.focus);
    focus->setFocus();
    QWidget* target = qobject_cast<QComboBox*>(focus) != nullptr
                          ? static_cast<QWidget*>(qobject_cast<QComboBox*>(focus)->lineEdit())
                          : focus;
    QTest::keyClick(target, row.key);
    EXPECT_FALSE(form->isVisible());
    if (row.written) {
      EXPECT_NE(ReadAll(ini).find("Printer=Laser\r\nCopies=7\r\n"), std::string::npos);
    } else {
      EXPECT_EQ(ReadAll(ini), old);
    }
  }
}

// Tests may run as root, for whom a read-only folder is still writable. A
// file size limit makes the save fail for every user alike.
TEST_F(FormLvxPickTest, AFailedSaveIsReportedAndTheDialogStays) {
  const std::string old = "PRINTER=Laser\r\nCOPIES=3\r\n";
  dir.Write("lvxprint.ini", old);
  const auto form = Open();
  Combo(*form, "Combo1")->setCurrentIndex(2);
  {
    MessageBoxAnswerer answerer;
    const testing::FileSizeLimit full(10);
    Click(*form, "Command1");
    ASSERT_TRUE(answerer.shown);
    EXPECT_EQ(answerer.shown->title, "Printer Lvx");
    EXPECT_TRUE(answerer.shown->text.contains(QString::fromStdString(ini)))
        << answerer.shown->text.toStdString();
  }
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(ReadAll(ini), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "no temporary file is left";

  // Once the way is clear, the same choice is saved.
  Click(*form, "Command1");
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(ReadAll(ini), PrinterSettingsText("Label", "3"));
}

TEST_F(FormLvxPickTest, AClickOutsideTheControlsShowsTheAboutBox) {
  const auto form = Open();
  {
    MessageBoxAnswerer answerer;
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(300, 100));
    ASSERT_TRUE(answerer.shown);
    EXPECT_EQ(answerer.shown->title, "Ferro Lumen srl");
    EXPECT_EQ(answerer.shown->text, "lvxpick\nv.4.0 - 08/06/06\nT.vardel");
    EXPECT_EQ(answerer.shown->buttons, 1);
  }
  {
    MessageBoxAnswerer answerer;
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(20, 20));  // on Label3
    QTest::mouseClick(form.get(), Qt::RightButton, {}, QPoint(300, 100));
    QTest::qWait(30);
    EXPECT_FALSE(answerer.shown);
  }
  EXPECT_TRUE(form->isVisible());
}

TEST_F(FormLvxPickTest, LayoutInTwipsAndTabOrder) {
  const auto form = Open();
  EXPECT_EQ(form->objectName(), "FormLvxPick");
  EXPECT_EQ(form->windowTitle(), "Printer Lvx");
  EXPECT_EQ(form->size(), QSize(4935 / 15, 2745 / 15));
  const struct {
    const char* name;
    QString text;
    QRect twips;
  } rows[] = {
      {"Label3", "Selezione stampante per documento .lvx", {240, 240, 3375, 255}},
      {"Label2", "Nome", {240, 750, 495, 255}},
      {"Combo1", "", {960, 720, 3735, 315}},
      {"Label4", "nr.copie", {240, 1350, 615, 255}},
      {"Combo2", "", {960, 1320, 855, 315}},
      {"Command1", "&Ok", {2160, 1920, 1215, 495}},
      {"Command2", "&Annulla", {3600, 1920, 1215, 495}},
      {"Label1", "", {120, 2490, 1695, 255}},
      {"Image1", "", {120, 1890, 1290, 525}},
  };
  for (const auto& row : rows) {
    const auto* control = testing::Child<QWidget>(*form, row.name);
    ASSERT_NE(control, nullptr) << row.name;
    const QRect& t = row.twips;
    EXPECT_EQ(control->geometry(), QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15))
        << row.name;
    if (const auto* label = qobject_cast<const QLabel*>(control); label && !row.text.isEmpty()) {
      EXPECT_EQ(label->text(), row.text) << row.name;
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
      EXPECT_EQ(button->text(), row.text) << row.name;
    }
  }
  EXPECT_FALSE(testing::Child<QLabel>(*form, "Label1")->text().isEmpty());
  const QPixmap logo = testing::Child<QLabel>(*form, "Image1")->pixmap();
  EXPECT_EQ(logo.deviceIndependentSize().toSize(), QSize(86, 35));

  // The named controls in the order Tab visits them (inner parts skipped).
  const QStringList wanted = {"Combo1", "Combo2", "Command1", "Command2"};
  QStringList visited;
  QWidget* widget = testing::Child<QWidget>(*form, "Combo1");
  for (int step = 0; step < 50 && visited.size() < wanted.size(); ++step) {
    if (wanted.contains(widget->objectName()) && !visited.contains(widget->objectName())) {
      visited << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(visited, wanted);
}

}  // namespace
}  // namespace lvx
