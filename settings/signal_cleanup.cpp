// SPDX-License-Identifier: GPL-3.0-or-later
#include "signal_cleanup.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <utility>

namespace lvx {
namespace {

constexpr std::array<std::pair<int, const char*>, 5> kSignals = {{
    {SIGTERM, "SIGTERM"},
    {SIGINT, "SIGINT"},
    {SIGHUP, "SIGHUP"},
    {SIGPIPE, "SIGPIPE"},
    {SIGXFSZ, "SIGXFSZ"},
}};

// A handful of files are ever pending at once: one job, one settings file.
constexpr std::size_t kSlots = 4;
constexpr std::size_t kPathBytes = 4096;
constexpr std::size_t kLineBytes = 128;

enum SlotState : int { kFree, kFilling, kReady };

// Everything the handler reads is fixed before it can run: the paths are
// copied into static storage and published by an atomic state, and the
// lines are written once by Install.
struct Slot {
  std::atomic<int> state{kFree};
  char path[kPathBytes] = {};
};

struct Cleanup {
  std::array<Slot, kSlots> slots;
  std::array<char[kLineBytes], kSignals.size()> lines = {};
  std::array<std::size_t, kSignals.size()> lineLengths = {};
  int status = 1;
};

Cleanup& State() {
  static Cleanup cleanup;
  return cleanup;
}

void OnSignal(int signal) {
  Cleanup& cleanup = State();
  for (Slot& slot : cleanup.slots) {
    if (slot.state.load(std::memory_order_acquire) == kReady) ::unlink(slot.path);
  }
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (kSignals[i].first != signal) continue;
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, cleanup.lines[i], cleanup.lineLengths[i]);
  }
  ::_exit(cleanup.status);
}

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots' states");

}  // namespace

sigset_t SignalCleanup::Signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const auto& [signal, name] : kSignals) sigaddset(&set, signal);
  return set;
}

void SignalCleanup::Install(std::string_view program, int status) {
  Cleanup& cleanup = State();
  cleanup.status = status;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    const std::string line = std::string(program) + ": stopped by " + kSignals[i].second + "\n";
    const std::size_t length = std::min(line.size(), kLineBytes);
    std::memcpy(cleanup.lines[i], line.data(), length);
    cleanup.lineLengths[i] = length;
  }
  struct sigaction action {};
  action.sa_handler = OnSignal;
  // A second signal waits rather than cutting the first one's cleanup short.
  action.sa_mask = Signals();
  for (const auto& [signal, name] : kSignals) ::sigaction(signal, &action, nullptr);
}

int SignalCleanup::Register(const std::string& path) {
  if (path.size() >= kPathBytes) return -1;
  Cleanup& cleanup = State();
  for (std::size_t i = 0; i < kSlots; ++i) {
    Slot& slot = cleanup.slots[i];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot.path, path.c_str(), path.size() + 1);
    slot.state.store(kReady, std::memory_order_release);
    return static_cast<int>(i);
  }
  return -1;
}

void SignalCleanup::Unregister(int slot) {
  if (slot < 0 || slot >= static_cast<int>(kSlots)) return;
  State().slots[static_cast<std::size_t>(slot)].state.store(kFree, std::memory_order_release);
}

SignalCleanup::Hold::Hold() {
  const sigset_t set = Signals();
  ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
}

SignalCleanup::Hold::~Hold() {
  ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace lvx
