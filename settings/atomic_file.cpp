// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "signal_cleanup.h"

namespace lvx {
namespace {

// Numbers tried for a file beside another before giving up.
constexpr int kMaxNumber = 9999;
// Times a free name is tried again when a file appears there meanwhile.
constexpr int kReplaceAttempts = 3;

std::string::size_type NameStart(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Where the extension of the file name starts: at its last dot, unless the
// name starts with it (".profile" has none).
std::string::size_type ExtensionStart(std::string_view path) {
  const auto name = NameStart(path);
  const auto dot = path.rfind('.');
  return dot == std::string_view::npos || dot <= name ? path.size() : dot;
}

// 0 when `from` now has the name `to`, which held no file before; else the
// error number (EEXIST when `to` is taken).
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // File systems without the flag: a hard link fails just as surely on a taken name.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

std::string FolderOf(const std::string& file) {
  const auto name = NameStart(file);
  if (name == 0) return ".";
  return name == 1 ? "/" : file.substr(0, name - 1);
}

// 0 once what `fd` holds is on the disk, else the error number. A failed
// flush is not tried again: the system may have dropped the data by then.
int Flush(int fd) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The replaced file's owner and permissions go to the new one. Taking the
// owner works for root and, for the group, for its members; otherwise the
// new file stays the writer's own, which is no reason to fail.
void TakeOwnerAndMode(int fd, const struct stat& old) {
  struct stat own {};
  if (::fstat(fd, &own) == 0 && (own.st_uid != old.st_uid || own.st_gid != old.st_gid)) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  // After the owner, which may clear some bits.
  ::fchmod(fd, old.st_mode & 0777);
}

}  // namespace

std::string NumberedPath(std::string_view path, int number) {
  if (number <= 1) return std::string(path);
  const auto extension = ExtensionStart(path);
  return std::string(path.substr(0, extension)) + "-" + std::to_string(number) +
         std::string(path.substr(extension));
}

bool IsReplaceable(const std::string& target) {
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0) return true;
  return S_ISREG(st.st_mode);
}

AtomicFile::AtomicFile(const std::string& target, Access access) {
  const auto name = NameStart(target);
  std::string pattern = target.substr(0, name) + "." + target.substr(name) + ".XXXXXX";
  // Created and registered with the signals held, so that no signal can end
  // the process between the two and leave the file behind.
  const SignalCleanup::Hold hold;
  // mkostemp creates the file with O_EXCL under a random name: an existing
  // entry of any kind (a link, a pipe) makes it pick another name.
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    Fail(errno);
    return;
  }
  signalSlot_ = SignalCleanup::Register(pattern);
  // mkostemp makes the file its owner's alone.
  if (access == Access::kAsNewFile) ::fchmod(fd, NewFileMode());
  fd_ = fd;
  path_ = pattern;
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) ::unlink(path_.c_str());
  SignalCleanup::Unregister(signalSlot_);
}

bool AtomicFile::Fail(int error) {
  error_ = std::generic_category().message(error);
  return false;
}

void AtomicFile::Published() {
  // A signal before this removes a name that is no longer there.
  SignalCleanup::Unregister(signalSlot_);
  signalSlot_ = -1;
  path_.clear();
  ::close(fd_);
  fd_ = -1;
}

bool AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) return Fail(EBADF);
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd_, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return Fail(errno);
    if (done == 0) return Fail(EIO);
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return true;
}

bool AtomicFile::Sync() {
  if (fd_ < 0) return Fail(EBADF);
  const int error = Flush(fd_);
  return error == 0 || Fail(error);
}

bool AtomicFile::SyncFolderOf(const std::string& published, std::string_view as) {
  // A folder that may be written but not read cannot be opened to flush;
  // the rename is done all the same.
  const int fd = ::open(FolderOf(published).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  const int error = Flush(fd);
  ::close(fd);
  // Some file systems cannot flush a folder at all (EINVAL): nothing lost.
  if (error == 0 || error == EINVAL) return true;
  error_ =
      std::string("written") + (as.empty() ? "" : " as ") + std::string(as) +
      ", but its folder could not be flushed to disk: " + std::generic_category().message(error);
  return false;
}

bool AtomicFile::StillAtItsPath() {
  struct stat own {};
  struct stat named {};
  if (::fstat(fd_, &own) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
      own.st_dev == named.st_dev && own.st_ino == named.st_ino) {
    return true;
  }
  error_ = "the temporary file " + path_ + " was replaced meanwhile";
  return false;
}

bool AtomicFile::Replace(const std::string& target) {
  if (fd_ < 0) return Fail(EBADF);
  if (!StillAtItsPath()) return false;
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    struct stat old {};
    if (::lstat(target.c_str(), &old) != 0) {
      if (errno != ENOENT) return Fail(errno);
      // Nothing there: take the name only while it stays free.
      if (!Sync()) return false;
      const int error = RenameNoReplace(path_, target);
      if (error == EEXIST) continue;
      if (error != 0) return Fail(error);
      Published();
      return SyncFolderOf(target);
    }
    if (!S_ISREG(old.st_mode)) {
      error_ = "not a regular file; left as it is";
      return false;
    }
    TakeOwnerAndMode(fd_, old);
    // The owner and mode reach the disk with the content.
    if (!Sync()) return false;
    if (::rename(path_.c_str(), target.c_str()) != 0) return Fail(errno);
    Published();
    return SyncFolderOf(target);
  }
  return Fail(EEXIST);
}

std::optional<std::string> AtomicFile::PublishBeside(const std::string& target) {
  if (fd_ < 0) {
    Fail(EBADF);
    return std::nullopt;
  }
  if (!StillAtItsPath() || !Sync()) return std::nullopt;
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string candidate = NumberedPath(target, number);
    const int error = RenameNoReplace(path_, candidate);
    if (error == 0) {
      Published();
      if (!SyncFolderOf(candidate, candidate)) return std::nullopt;
      return candidate;
    }
    if (error != EEXIST) {
      Fail(error);
      return std::nullopt;
    }
  }
  Fail(EEXIST);
  return std::nullopt;
}

}  // namespace lvx
