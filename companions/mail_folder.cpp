// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace lvx {

std::string MailFolder(const FolderProbe& probe) {
  const std::string run = UserRunFolder(probe);
  return run.empty() ? std::string() : run + "/mail";
}

std::string FreshRunFolder(const std::string& mailFolder, std::string& error) {
  namespace fs = std::filesystem;
  if (mailFolder.empty()) {
    error = "no runtime folder (XDG_RUNTIME_DIR) and no home folder";
    return {};
  }
  if (!MakeFolders(mailFolder)) {
    error = mailFolder + ": " + std::generic_category().message(errno);
    return {};
  }
  std::error_code failed;
  // Links are removed, never followed: only what lies in the folder goes.
  for (fs::directory_iterator entry(mailFolder, failed), end; !failed && entry != end;
       entry.increment(failed)) {
    std::error_code ignored;
    fs::remove_all(entry->path(), ignored);
  }
  std::string pattern = mailFolder + "/XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    error = mailFolder + ": " + std::generic_category().message(errno);
    return {};
  }
  return pattern;
}

}  // namespace lvx
