// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace lvx {
namespace {

// Numbers tried for a PDF beside its document before giving up.
constexpr int kMaxNumber = 9999;

std::string Reason(int error) {
  return std::generic_category().message(error);
}

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

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string BesidePdfPath(std::string_view docPath) {
  return std::string(docPath.substr(0, ExtensionStart(docPath))) + ".pdf";
}

std::string NumberedPath(std::string_view pdfPath, int number) {
  if (number <= 1) return std::string(pdfPath);
  const auto extension = ExtensionStart(pdfPath);
  return std::string(pdfPath.substr(0, extension)) + "-" + std::to_string(number) +
         std::string(pdfPath.substr(extension));
}

bool IsCompletePdf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char tail[32] = {};
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const off_t from =
      size > static_cast<off_t>(sizeof tail) ? size - static_cast<off_t>(sizeof tail) : 0;
  const ssize_t got = size > 0 ? ::pread(fd, tail, sizeof tail, from) : 0;
  ::close(fd);
  if (got <= 0) return false;
  std::string_view text(tail, static_cast<std::size_t>(got));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text.ends_with("%%EOF");
}

PendingFile::PendingFile(const std::string& target, Access access) {
  const auto name = NameStart(target);
  std::string pattern = target.substr(0, name) + "." + target.substr(name) + ".XXXXXX";
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) {
    error_ = Reason(errno);
    return;
  }
  // mkostemp makes the file its owner's alone.
  if (access == Access::kAsNewFile) ::fchmod(fd, NewFileMode());
  ::close(fd);
  path_ = pattern;
}

PendingFile::~PendingFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

bool PendingFile::Replace(const std::string& target) {
  if (::rename(path_.c_str(), target.c_str()) != 0) {
    error_ = Reason(errno);
    return false;
  }
  path_.clear();
  return true;
}

std::optional<std::string> PendingFile::PublishBeside(const std::string& target) {
  for (int number = 1; number <= kMaxNumber; ++number) {
    const std::string candidate = NumberedPath(target, number);
    const int error = RenameNoReplace(path_, candidate);
    if (error == 0) {
      path_.clear();
      return candidate;
    }
    if (error != EEXIST) {
      error_ = Reason(error);
      return std::nullopt;
    }
  }
  error_ = Reason(EEXIST);
  return std::nullopt;
}

}  // namespace lvx
