// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWheelEvent;
class QWidget;

namespace lvx {

// Where a paging key or the wheel asks to go.
enum class PagingMove { kNext, kPrevious, kFirst };

// The paging keys every viewer has, on `window` and its buttons: Page Down
// and Right go to the next page, Page Up, Left and Backspace to the
// previous one, Home to the first; `move` carries them out. Return and
// Enter click the focused button, as Space does.
void AddPagingKeys(QWidget& window, std::function<void(PagingMove)> move);

// Turns wheel turns into page moves: one per notch (120 eighths of a
// degree), a touchpad's small steps added up. Down is the next page.
class WheelPaging {
 public:
  // How many notches the event completes: positive down, negative up.
  int Notches(const QWheelEvent& event);
  // Carries out the page moves the event completes through `move`.
  void Turn(const QWheelEvent& event, const std::function<void(PagingMove)>& move);

 private:
  int pending_ = 0;
};

}  // namespace lvx
