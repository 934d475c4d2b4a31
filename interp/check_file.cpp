// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_lookup.h"

namespace lvx {

std::int16_t CheckFile(std::string_view checkPath) {
  std::string found;
  return CheckFile(checkPath, found);
}

std::int16_t CheckFile(std::string_view checkPath, std::string& found) {
  if (checkPath.find_first_not_of(' ') == std::string_view::npos) return kCheckNoName;
  const auto path = FindFile(checkPath);
  if (!path) return kCheckMissing;
  // Non-blocking, so that a file swapped for a pipe after the look-up cannot hang us.
  const int fd = ::open(path->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kCheckMissing;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  if (!regular) return kCheckMissing;
  if (st.st_size == 0) {
    ::unlink(path->c_str());
    return kCheckMissing;
  }
  found = std::move(*path);
  return kCheckUsable;
}

}  // namespace lvx
