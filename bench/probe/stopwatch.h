// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace lvx::bench {

// Wall-clock times of repeated runs of one step, in milliseconds. The
// machine is shared, so the minimum is the figure to compare; the median
// shows how noisy the runs were.
struct Timings {
  double min = 0;
  double median = 0;
};

template <class Step>
Timings TimeRuns(int runs, Step&& step) {
  std::vector<double> ms;
  for (int run = 0; run < std::max(runs, 1); ++run) {
    const auto start = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ms.push_back(took.count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace lvx::bench
