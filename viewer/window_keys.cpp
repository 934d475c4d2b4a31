// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_keys.h"

#include <QApplication>
#include <QPushButton>
#include <QShortcut>
#include <QWheelEvent>

#include "guarded.h"

namespace lvx {
namespace {

constexpr int kNotch = 120;

void AddKey(QWidget& window, QKeySequence key, std::function<void()> action) {
  auto* shortcut = new QShortcut(key, &window);
  // Buttons move the focus with the arrows; the window takes them first.
  shortcut->setContext(Qt::WindowShortcut);
  shortcut->setAutoRepeat(true);
  QObject::connect(shortcut, &QShortcut::activated, &window,
                   [action = std::move(action)] { Guarded(action); });
}

void ClickFocusedButton(QWidget& window) {
  auto* button = qobject_cast<QPushButton*>(window.focusWidget());
  if (button != nullptr && button->isVisible() && button->isEnabled()) button->click();
}

}  // namespace

void AddPagingKeys(QWidget& window, std::function<void(PagingMove)> move) {
  const auto to = [move](PagingMove where) { return [move, where] { move(where); }; };
  for (const auto key : {Qt::Key_PageDown, Qt::Key_Right})
    AddKey(window, key, to(PagingMove::kNext));
  for (const auto key : {Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Backspace}) {
    AddKey(window, key, to(PagingMove::kPrevious));
  }
  AddKey(window, Qt::Key_Home, to(PagingMove::kFirst));
  for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    AddKey(window, key, [&window] { ClickFocusedButton(window); });
  }
}

int WheelPaging::Notches(const QWheelEvent& event) {
  pending_ += event.angleDelta().y();
  const int notches = pending_ / kNotch;
  pending_ -= notches * kNotch;
  // The wheel turned towards the user (negative) reads on down the page.
  return -notches;
}

void WheelPaging::Turn(const QWheelEvent& event, const std::function<void(PagingMove)>& move) {
  const int notches = Notches(event);
  for (int i = 0; i < notches; ++i) move(PagingMove::kNext);
  for (int i = 0; i > notches; --i) move(PagingMove::kPrevious);
}

}  // namespace lvx
