// SPDX-License-Identifier: GPL-3.0-or-later
#include "hand_off.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace lvx {
namespace {

constexpr std::chrono::milliseconds kLook{20};

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Spawn attributes and file actions, released however the start ends.
struct SpawnSetup {
  SpawnSetup() {
    ::posix_spawnattr_init(&attributes);
    ::posix_spawn_file_actions_init(&actions);
  }
  ~SpawnSetup() {
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawnattr_t attributes;
  posix_spawn_file_actions_t actions;
};

}  // namespace

HandOffResult HandOff(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, std::chrono::milliseconds wait) {
  HandOffResult result;
  try {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = environment;
    SpawnSetup setup;
    // Its own session: a terminal closing behind lvx must not end the
    // mail program or PDF viewer the user is working in.
    ::posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID);
    // Nothing of it muddles the one line the companion writes when it fails.
    ::posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_adddup2(&setup.actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, program.c_str(), &setup.actions, &setup.attributes,
                                     Pointers(argv).data(), Pointers(envp).data());
    if (error != 0) {
      result.error = std::generic_category().message(error);
      return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      int status = 0;
      const pid_t ended = ::waitpid(pid, &status, WNOHANG);
      if (ended == pid) {
        result.state = HandOffResult::State::kEnded;
        result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
      }
      if (ended < 0 || std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(kLook);
    }
    result.state = HandOffResult::State::kRunning;
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

std::string HandOffFailure(const std::string& program, const HandOffResult& result) {
  if (result.ok()) return {};
  if (result.state == HandOffResult::State::kNotStarted) {
    return "cannot start " + program + ": " + result.error;
  }
  if (result.exitStatus < 0) return program + " was ended by a signal";
  return program + " failed (exit status " + std::to_string(result.exitStatus) + ")";
}

}  // namespace lvx
