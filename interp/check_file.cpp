// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_lookup.h"

namespace lvx {
namespace {

std::int16_t CheckAndOpen(std::string_view checkPath, int& fd, std::string& found,
                          FolderListings* listings = nullptr) {
  fd = -1;
  if (checkPath.find_first_not_of(' ') == std::string_view::npos) return kCheckNoName;
  const auto path = FindFile(checkPath, listings);
  if (!path) return kCheckMissing;
  // Non-blocking, so that a file swapped for a pipe after the look-up cannot hang us.
  const int opened = ::open(path->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (opened < 0) return kCheckMissing;
  struct stat st {};
  const bool regular = ::fstat(opened, &st) == 0 && S_ISREG(st.st_mode);
  if (!regular || st.st_size == 0) {
    ::close(opened);
    if (regular) ::unlink(path->c_str());
    return kCheckMissing;
  }
  fd = opened;
  found = std::move(*path);
  return kCheckUsable;
}

}  // namespace

std::int16_t CheckFile(std::string_view checkPath) {
  std::string found;
  return CheckFile(checkPath, found);
}

std::int16_t CheckFile(std::string_view checkPath, std::string& found, FolderListings* listings) {
  int fd = -1;
  const std::int16_t result = CheckAndOpen(checkPath, fd, found, listings);
  if (fd >= 0) ::close(fd);
  return result;
}

std::int16_t CheckAndOpenFile(std::string_view checkPath, int& fd) {
  std::string found;
  return CheckAndOpen(checkPath, fd, found);
}

}  // namespace lvx
