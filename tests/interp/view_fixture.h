// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "recording_view.h"
#include "split_view_handlers.h"

namespace lvx::testing {

// Three recording views and the viewer's handlers over them, for feeding
// records one at a time.
struct SplitFixture {
  std::vector<std::string> calls;
  RecordingView main{"main", calls};
  RecordingView upper{"upper", calls};
  RecordingView lower{"lower", calls};
  RecordScanner scanner;
  std::int16_t pageNumber = 1;
  SplitViewHandlers handlers{scanner, SplitViews{main, upper, lower}, pageNumber, nullptr};

  // Dispatches one line and returns the calls it made.
  std::vector<std::string> Run(const std::string& line) {
    calls.clear();
    scanner.SetRecord(line);
    DispatchRecord(scanner, handlers);
    return calls;
  }
};

using Calls = std::vector<std::string>;

}  // namespace lvx::testing
