// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace lvx
