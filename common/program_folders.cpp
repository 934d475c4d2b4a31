// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace lvx {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// `folder` + "/" + `name`, without doubling the root's slash.
std::string Join(const std::string& folder, const std::string& name) {
  return (folder == "/" ? std::string() : folder) + "/" + name;
}

// The absolute folder a variable names, without a trailing "/"; empty when
// the variable is not set or relative.
std::string AbsoluteFolder(const FolderProbe& probe, const char* name) {
  std::string value = probe.variable(name);
  if (value.empty() || value.front() != '/') return {};
  while (value.size() > 1 && value.back() == '/') value.pop_back();
  return value;
}

// The "lvx" folder in the base folder that `name` names, else in
// `underHome` of the home folder; empty when neither is known.
std::string UserFolder(const FolderProbe& probe, const char* name, const char* underHome) {
  if (const std::string base = AbsoluteFolder(probe, name); !base.empty()) {
    return Join(base, "lvx");
  }
  if (underHome == nullptr) return {};
  const std::string home = AbsoluteFolder(probe, "HOME");
  return home.empty() ? std::string() : Join(Join(home, underHome), "lvx");
}

std::string HomeOfUser() {
  const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384U);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

}  // namespace

FolderProbe FolderProbe::FromSystem() {
  FolderProbe probe;
  probe.writable = [](const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
  };
  probe.variable = [](const char* name) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return std::string(value);
    return std::string(name) == "HOME" ? HomeOfUser() : std::string();
  };
  return probe;
}

ProgramFolders FindProgramFolders(const std::string& appFolder, const FolderProbe& probe) {
  ProgramFolders folders{appFolder, false, appFolder, appFolder};
  folders.shared = IsRegularFile(Join(appFolder, kSharedFolderMark)) || !probe.writable(appFolder);
  if (!folders.shared) return folders;
  if (std::string settings = UserFolder(probe, "XDG_CONFIG_HOME", ".config"); !settings.empty()) {
    folders.settingsFolder = std::move(settings);
  }
  if (std::string work = UserRunFolder(probe); !work.empty()) folders.workFolder = std::move(work);
  return folders;
}

std::string UserRunFolder(const FolderProbe& probe) {
  // The runtime folder is the user's alone and emptied at logout: the
  // right place for files that only live while a companion runs.
  std::string folder = UserFolder(probe, "XDG_RUNTIME_DIR", nullptr);
  if (folder.empty()) folder = UserFolder(probe, "XDG_STATE_HOME", ".local/state");
  return folder;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  // Each step may fail because the folder is there already, or is not ours
  // to make; whether the whole folder exists at the end is what counts.
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    ::mkdir(folder.substr(0, slash).c_str(), 0700);
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace lvx
