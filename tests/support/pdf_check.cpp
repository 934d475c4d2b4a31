// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_check.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

extern char** environ;

namespace lvx::testing {

std::string PdfFaults(const std::string& path) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return "no pipe for qpdf";
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  ::posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
  std::string check = "--check";
  std::string file = path;
  std::string program = "qpdf";
  char* arguments[] = {program.data(), check.data(), file.data(), nullptr};
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, "qpdf", &actions, nullptr, arguments, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  std::string report;
  std::array<char, 4096> buffer{};
  for (;;) {
    const ssize_t got = ::read(pipe[0], buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    report.append(buffer.data(), static_cast<std::size_t>(got));
  }
  ::close(pipe[0]);
  if (spawned != 0) return "qpdf did not start";
  int status = 0;
  pid_t ended = -1;
  do {
    ended = ::waitpid(pid, &status, 0);
  } while (ended < 0 && errno == EINTR);
  if (ended != pid) return "qpdf's end was not seen";
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  // qpdf ends with 2 on errors, 3 on warnings only.
  const std::string end = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                            : "signal " + std::to_string(WTERMSIG(status));
  return "qpdf --check " + path + " (" + end + "):\n" + report;
}

}  // namespace lvx::testing
