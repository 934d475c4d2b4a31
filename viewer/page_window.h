// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "companion_runner.h"
#include "print_feedback.h"
#include "program_start.h"
#include "viewer_document.h"
#include "window_keys.h"

class QPushButton;

namespace lvx {

// What the page window needs from outside: its message boxes and where the
// text editor is found. The program uses the desktop's; tests stand-ins.
struct PageWindowServices {
  // A question with OK and "Annulla" under `title`; true for OK.
  std::function<bool(const QString& title, const QString& text)> AskOkCancel;
  // A message with an OK button under `title`.
  std::function<void(const QString& title, const QString& text)> ShowMessage;
  EditorSources Editor;

  static PageWindowServices FromDesktop(QWidget* parent);
};

// The page window `Form2`: the current page at half size on a white client
// area in millimetres, the grey button panel over its right edge, and the
// buttons that page forward, step through the folder's documents, start
// the companion programs and end the viewer. Its button actions run one at
// a time under `Busy`. Its event handlers never let an exception out.
class PageWindow : public QWidget {
  Q_OBJECT

 public:
  // Without `services` the desktop's are used.
  explicit PageWindow(ViewerDocument& document, std::optional<PageWindowServices> services = {},
                      QWidget* parent = nullptr);

  // Hourglass pointers and disabled buttons while an action runs; the
  // arrow and enabled buttons after it. Neither touches visibility.
  void LockButtons();
  void UnlockButtons();

  QPushButton* Button(const char* name) const;
  // What "&Stampa" tells of lvxprint's end.
  PrintFeedback& printFeedback() { return printFeedback_; }

  // A termination signal (the session ends): "&Esci" at once when idle,
  // else as soon as the action under way is over; an open message box is
  // answered with Cancel so that it ends.
  void RequestExit();

  // 1 while a button action of this window runs.
  std::int16_t Busy = 0;
  // The last pointer position over the window surface, in millimetres.
  float MouseX = 0.0F;
  float MouseY = 0.0F;

 signals:
  // "&Esci" cleaned up: the program ends.
  void ExitRequested();
  // A button action or message ended and Busy is 0 again.
  void BecameIdle();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The eleven buttons, in their tab order, shown or hidden for the
  // settings, with their actions.
  void CreateButtons();
  // The button-action frame: nothing while busy, else busy and locked
  // around `action`.
  void RunAction(const std::function<void()>& action);
  // Locked around `action`, the keyboard focus back where it was after it.
  void LockedAround(const std::function<void()>& action);
  // Leaving an action: an exit asked for meanwhile is carried out.
  void Idle();
  // A paging key or the wheel, inside the button-action frame.
  void Page(PagingMove move);
  void Connect(const char* name, std::function<void()> click);
  void UpdateCaption();

  // The full path of the current document as a program argument.
  QString DocumentArgument() const;
  // CompanionCmd of a companion in AppFolder, with the document's path and
  // `extra` as its arguments.
  CompanionCommand CompanionCmd(const char* name, const char* extra = nullptr) const;

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  void Form_Click();

  ViewerDocument& document_;
  PageWindowServices services_;
  CompanionRunner runner_;
  PrintFeedback printFeedback_;
  QCursor glass_;
  WheelPaging wheel_;
  bool exitRequested_ = false;
};

}  // namespace lvx
