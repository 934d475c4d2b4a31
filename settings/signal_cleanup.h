// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <string>
#include <string_view>

namespace lvx {

// What happens when a signal ends the process from outside (SIGTERM, SIGINT,
// SIGHUP, SIGPIPE, SIGXFSZ): once Install has run, the files registered at
// that moment are removed, one line goes to standard error and the process
// exits with the given status. Without Install, registering costs little and
// does nothing. Registration is safe against these signals at any moment.
class SignalCleanup {
 public:
  // Installs the handlers; the line reads "<program>: stopped by SIGTERM".
  static void Install(std::string_view program, int status);

  // Registers `path` for removal; a slot number for Unregister, or -1 when
  // every slot is taken or the path is too long (it then stays on a signal).
  static int Register(const std::string& path);
  static void Unregister(int slot);

  // While one lives, the signals above wait: the window between creating a
  // file and registering it is closed with it.
  class Hold {
   public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    sigset_t previous_;
  };

  // The signals handled.
  static sigset_t Signals();
};

}  // namespace lvx
