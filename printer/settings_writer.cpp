// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "file_lookup.h"

namespace lvx {
namespace {

std::string Reason(int error) {
  return std::generic_category().message(error);
}

// The file to replace: the one the readers find, through any symbolic link,
// else the path as given.
std::string TargetOf(const std::string& path) {
  const auto found = FindFile(path);
  if (!found) return path;
  char resolved[PATH_MAX];
  if (::realpath(found->c_str(), resolved) == nullptr) return *found;
  return resolved;
}

std::string FolderOf(const std::string& file) {
  const auto slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

// 0 when all bytes went out, else the error number.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t done = ::write(fd, bytes.data(), bytes.size());
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    if (done == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(done));
  }
  return 0;
}

// Writes, flushes and closes the temporary file: 0 or the error number.
int FillTemp(int fd, const std::string& target, std::string_view bytes) {
  struct stat old {};
  // The new file keeps the permissions the old one had.
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);
  }
  int error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

// Makes the rename itself durable; the new content is complete either way.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string PrinterSettingsText(std::string_view printerText, std::string_view copiesText) {
  std::string text = "[LvxPick FERRO LUMEN srl t.vardel ]\r\n  \r\n";
  text += "Printer=";
  text += printerText;
  text += "\r\nCopies=";
  text += copiesText;
  text += "\r\n \r\n";
  return text;
}

std::string SettingsTempPath(const std::string& target) {
  return target + "." + std::to_string(::getpid()) + ".tmp";
}

SettingsWriteResult WritePrinterSettings(const std::string& path, std::string_view printerText,
                                         std::string_view copiesText) {
  try {
    const std::string target = TargetOf(path);
    const std::string temp = SettingsTempPath(target);
    // O_NOFOLLOW: a link planted under the temporary name must not redirect the write.
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return {false, Reason(errno)};
    int error = FillTemp(fd, target, PrinterSettingsText(printerText, copiesText));
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
      ::unlink(temp.c_str());
      return {false, Reason(error)};
    }
    SyncFolder(FolderOf(target));
    return {true, {}};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

}  // namespace lvx
