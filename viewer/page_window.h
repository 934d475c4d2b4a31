// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "viewer_document.h"

class QPushButton;

namespace lvx {

// The page window `Form2`: the current page at half size on a white client
// area in millimetres, the grey button panel over its right edge, and the
// buttons that page forward, step through the folder's documents, start
// the companion programs and end the viewer. Its button actions run one at
// a time under `Busy`. Its event handlers never let an exception out.
class PageWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PageWindow(ViewerDocument& document, QWidget* parent = nullptr);

  // Hourglass pointers and disabled buttons while an action runs; the
  // arrow and enabled buttons after it. Neither touches visibility.
  void LockButtons();
  void UnlockButtons();

  QPushButton* Button(const char* name) const;

  // 1 while a button action of this window runs.
  std::int16_t Busy = 0;
  // The last pointer position over the window surface, in millimetres.
  float MouseX = 0.0F;
  float MouseY = 0.0F;

 signals:
  // "&Esci" cleaned up: the program ends.
  void ExitRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The button-action frame: nothing while busy, else busy and locked
  // around `action`.
  void RunAction(const std::function<void()>& action);
  void Connect(const char* name, std::function<void()> click);
  void UpdateCaption();

  void Command1_Click();
  void Command2_Click();
  void Form_Click();

  ViewerDocument& document_;
  QCursor glass_;
};

}  // namespace lvx
