// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>

namespace lvx {

// Runs `action` and swallows what it throws: an event handler must never
// let an exception into Qt's event loop. Handlers that have something to
// tell the user catch it themselves first.
template <typename Action>
void Guarded(Action&& action) noexcept {
  try {
    action();
  } catch (const std::exception&) {
  } catch (...) {
  }
}

}  // namespace lvx
