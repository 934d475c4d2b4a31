// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace lvx {

// How handing a file to a desktop program went.
struct HandOffResult {
  enum class State {
    kEnded,       // the program ended within the wait; see `exitStatus`
    kRunning,     // it still runs after the wait, on its own from now on
    kNotStarted,  // it could not be started; see `error`
  };
  State state = State::kNotStarted;
  int exitStatus = -1;  // for kEnded: the exit status, -1 when a signal ended it
  std::string error;

  // True unless the program could not start or ended with a failure.
  bool ok() const {
    return state == State::kRunning || (state == State::kEnded && exitStatus == 0);
  }
};

// Starts `program` (found on PATH) with `arguments` as a list, never
// through a shell, in a session of its own with standard input and output
// on /dev/null and `environment` ("NAME=value" entries) as its environment.
// Waits up to `wait` for it to end: desktop helpers either fail at once or
// hand over to an application that may run for hours. Never throws.
HandOffResult HandOff(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, std::chrono::milliseconds wait);

// What a program failed to do, for the one line on standard error; empty
// when `result` is ok.
std::string HandOffFailure(const std::string& program, const HandOffResult& result);

}  // namespace lvx
