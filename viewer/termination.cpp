// SPDX-License-Identifier: GPL-3.0-or-later
#include "termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace lvx {
namespace {

// The handler may only write to a pipe; the event loop reads the other end.
volatile std::sig_atomic_t gRequested = 0;
int gPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int /*signal*/) {
  gRequested = 1;
  if (gPipe[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  }
}

}  // namespace

TerminationSignals::TerminationSignals() {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  notifier_.reset();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
  for (int& fd : gPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

bool TerminationSignals::Requested() const {
  return gRequested != 0;
}

void TerminationSignals::QuitApplicationOnSignal() {
  CallOnSignal([] { QCoreApplication::quit(); });
}

void TerminationSignals::CallOnSignal(std::function<void()> onSignal) {
  if (gPipe[0] < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [onSignal = std::move(onSignal)] {
    char bytes[16];
    while (::read(gPipe[0], bytes, sizeof bytes) > 0) {
    }
    onSignal();
  });
}

}  // namespace lvx
