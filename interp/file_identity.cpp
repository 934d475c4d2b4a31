// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_identity.h"

#include <sys/stat.h>

#include <string>

#include "file_lookup.h"

namespace lvx {
namespace {

std::optional<FileIdentity> IdentityOf(const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return std::nullopt;
  return FileIdentity{
      static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
      static_cast<std::int64_t>(st.st_size),
      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

}  // namespace

std::optional<FileIdentity> IdentityOfPath(std::string_view path) {
  struct stat st {};
  // The exact name first: FindFile lists the folder only when it is not
  // there as written.
  if (const std::string exact(path); !exact.empty() && ::stat(exact.c_str(), &st) == 0) {
    if (S_ISREG(st.st_mode)) return IdentityOf(st);
  }
  const auto found = FindFile(path);
  if (!found || ::stat(found->c_str(), &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

std::optional<FileIdentity> IdentityOfDescriptor(int fd) {
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

}  // namespace lvx
