// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace lvx {

// Ends the viewer cleanly on SIGTERM, SIGINT and SIGHUP (a desktop session
// ending, a terminal closing), so that the single-instance lock is let go
// and open files are closed. Catches the signals from construction on, so
// that one arriving during start-up is noticed too. One per process.
class TerminationSignals {
 public:
  TerminationSignals();
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // Whether a signal has arrived.
  bool Requested() const;
  // From now on a signal quits the application's event loops, also one
  // that came before the loop runs; needs an application object and must
  // be called from its thread.
  void QuitApplicationOnSignal();
  // From now on a signal calls `onSignal` from the event loop, also one
  // that came before the loop runs, and also from a nested loop (a
  // message box, a companion's wait); the same conditions as above.
  void CallOnSignal(std::function<void()> onSignal);

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lvx
