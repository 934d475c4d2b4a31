// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_job.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace lvx {
namespace {

// Output past this is not kept: only its last line is ever shown.
constexpr off_t kKeptOutputBytes = 64 * 1024;

std::string ReadBack(int fd) {
  std::string text;
  if (fd < 0) return text;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  if (size <= 0) return text;
  const off_t from = size > kKeptOutputBytes ? size - kKeptOutputBytes : 0;
  text.resize(static_cast<std::size_t>(size - from));
  const ssize_t got = ::pread(fd, text.data(), text.size(), from);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

std::int64_t NowMs() {
  return QDateTime::currentMSecsSinceEpoch();
}

}  // namespace

PrintJob::PrintJob(QObject* parent) : QObject(parent) {}

PrintJob::~PrintJob() {
  CloseFd(pidFd_);
  CloseFd(outFd_);
  CloseFd(errFd_);
}

PrintJob* PrintJob::Start(const QString& program, const QStringList& arguments, QObject* parent) {
  auto* job = new PrintJob(parent);
  job->Spawn(program, arguments);
  return job;
}

void PrintJob::Spawn(const QString& program, const QStringList& arguments) {
  startedMs_ = NowMs();
  outFd_ = ::memfd_create("lvxprint-out", MFD_CLOEXEC);
  errFd_ = ::memfd_create("lvxprint-err", MFD_CLOEXEC);
  const QByteArray path = QFile::encodeName(program);
  std::vector<QByteArray> words{path};
  for (const QString& argument : arguments) words.push_back(QFile::encodeName(argument));
  std::vector<char*> argv;
  for (QByteArray& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (outFd_ >= 0) posix_spawn_file_actions_adddup2(&actions, outFd_, 1);
  if (errFd_ >= 0) posix_spawn_file_actions_adddup2(&actions, errFd_, 2);
  pid_t pid = -1;
  const int error = ::posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    outcome_.started = false;
    outcome_.startError = std::strerror(error);
    QTimer::singleShot(0, this, &PrintJob::Finish);
    return;
  }
  pid_ = pid;
  pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
  if (pidFd_ < 0) {
    // Without a process descriptor (an old kernel) the end is still
    // reaped, so that no zombie stays, but goes unreported.
    QTimer::singleShot(0, this, [this] {
      ::waitpid(pid_, nullptr, 0);
      deleteLater();
    });
    return;
  }
  ended_ = std::make_unique<QSocketNotifier>(pidFd_, QSocketNotifier::Read);
  connect(ended_.get(), &QSocketNotifier::activated, this, &PrintJob::Reap);
}

void PrintJob::Reap() {
  int status = 0;
  pid_t got;
  do {
    got = ::waitpid(pid_, &status, WNOHANG);
  } while (got < 0 && errno == EINTR);
  if (got == 0) return;
  ended_->setEnabled(false);
  if (got == pid_ && WIFSIGNALED(status)) {
    outcome_.signalled = true;
    outcome_.status = WTERMSIG(status);
  } else if (got == pid_) {
    outcome_.status = WEXITSTATUS(status);
  } else {
    // Someone else reaped it: its status is lost.
    outcome_.status = 0;
  }
  Finish();
}

void PrintJob::Finish() {
  outcome_.elapsedMs = NowMs() - startedMs_;
  outcome_.out = ReadBack(outFd_);
  outcome_.err = ReadBack(errFd_);
  emit Finished(outcome_);
  deleteLater();
}

}  // namespace lvx
