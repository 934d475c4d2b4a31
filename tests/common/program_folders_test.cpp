// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <vector>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using Variables = std::map<std::string, std::string>;

FolderProbe Probe(bool writable, Variables variables) {
  FolderProbe probe;
  probe.writable = [writable](const std::string&) { return writable; };
  probe.variable = [variables = std::move(variables)](const char* name) {
    const auto found = variables.find(name);
    return found == variables.end() ? std::string() : found->second;
  };
  return probe;
}

const Variables kAllSet = {{"HOME", "/home/ada"},
                           {"XDG_CONFIG_HOME", "/cfg"},
                           {"XDG_RUNTIME_DIR", "/run/user/1000"},
                           {"XDG_STATE_HOME", "/state"}};

TEST(FindProgramFolders, AFolderOfItsOwnKeepsEveryFile) {
  testing::TempDir dir;
  const ProgramFolders folders = FindProgramFolders(dir.path(), Probe(true, kAllSet));
  EXPECT_FALSE(folders.shared);
  EXPECT_EQ(folders.AppFolder, dir.path());
  EXPECT_EQ(folders.settingsFolder, dir.path());
  EXPECT_EQ(folders.workFolder, dir.path());
}

TEST(FindProgramFolders, AMarkedOrUnwritableFolderIsShared) {
  struct Row {
    const char* what;
    bool mark;
    bool markIsFolder;
    bool writable;
    bool shared;
  };
  const std::vector<Row> rows = {
      {"installed", true, false, true, true},
      {"read-only", false, false, false, true},
      {"installed and read-only", true, false, false, true},
      {"a folder under the mark's name is no mark", false, true, true, false},
  };
  for (const Row& row : rows) {
    testing::TempDir dir;
    if (row.mark) dir.Write(kSharedFolderMark, "");
    if (row.markIsFolder) fs::create_directories(dir.path() + "/" + kSharedFolderMark);
    const ProgramFolders folders = FindProgramFolders(dir.path(), Probe(row.writable, kAllSet));
    EXPECT_EQ(folders.shared, row.shared) << row.what;
    EXPECT_EQ(folders.settingsFolder, row.shared ? "/cfg/lvx" : dir.path()) << row.what;
    EXPECT_EQ(folders.workFolder, row.shared ? "/run/user/1000/lvx" : dir.path()) << row.what;
  }
}

TEST(FindProgramFolders, UsersFoldersFollowTheBaseDirectoryRules) {
  const std::string app = "/usr/lib/lvx";
  struct Row {
    Variables variables;
    std::string settings;
    std::string work;
  };
  const std::vector<Row> rows = {
      {kAllSet, "/cfg/lvx", "/run/user/1000/lvx"},
      {{{"HOME", "/home/ada"}}, "/home/ada/.config/lvx", "/home/ada/.local/state/lvx"},
      {{{"HOME", "/home/ada/"}, {"XDG_STATE_HOME", "/state//"}},
       "/home/ada/.config/lvx",
       "/state/lvx"},
      // Relative values do not count.
      {{{"HOME", "/home/ada"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_RUNTIME_DIR", "run"}},
       "/home/ada/.config/lvx",
       "/home/ada/.local/state/lvx"},
      {{{"HOME", "/"}}, "/.config/lvx", "/.local/state/lvx"},
      {{{"XDG_RUNTIME_DIR", "/"}}, app, "/lvx"},
      // Nowhere of the user's own: the program folder, as before.
      {{}, app, app},
      {{{"HOME", "relative"}}, app, app},
  };
  for (const Row& row : rows) {
    const ProgramFolders folders = FindProgramFolders(app, Probe(false, row.variables));
    EXPECT_TRUE(folders.shared);
    EXPECT_EQ(folders.settingsFolder, row.settings) << row.settings;
    EXPECT_EQ(folders.workFolder, row.work) << row.work;
  }
}

TEST(FindProgramFolders, TheSystemsCheckSeesWhatTheUserMayWrite) {
  testing::TempDir dir;
  EXPECT_FALSE(FindProgramFolders(dir.path()).shared);
  EXPECT_TRUE(FindProgramFolders("/nonexistent/lvx").shared);
  ::chmod(dir.path().c_str(), 0500);
  const bool shared = FindProgramFolders(dir.path()).shared;
  ::chmod(dir.path().c_str(), 0700);
  // Root may write anywhere: only other users see the folder as shared.
  EXPECT_EQ(shared, ::geteuid() != 0);
}

TEST(FindProgramFolders, TheSystemsHomeStandsInForAMissingHome) {
  const FolderProbe probe = FolderProbe::FromSystem();
  const char* home = std::getenv("HOME");
  const std::string saved = home != nullptr ? home : "";
  ::unsetenv("HOME");
  const std::string fromDatabase = probe.variable("HOME");
  if (!saved.empty()) ::setenv("HOME", saved.c_str(), 1);
  EXPECT_FALSE(fromDatabase.empty());
  EXPECT_EQ(fromDatabase.front(), '/');
}

mode_t Mode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(MakeFolders, MakesTheMissingFoldersForTheirOwnerOnly) {
  testing::TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  const std::string folder = dir.path() + "/run/lvx";
  EXPECT_TRUE(MakeFolders(folder));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(Mode(dir.path() + "/run"), 0700U);
  EXPECT_EQ(Mode(folder), 0700U);
  EXPECT_EQ(Mode(dir.path()), 0755U);
  EXPECT_TRUE(MakeFolders(folder));
  EXPECT_TRUE(MakeFolders(dir.path() + "/"));

  // A file where a folder should be; no name at all.
  dir.Write("file", "x");
  EXPECT_FALSE(MakeFolders(dir.path() + "/file"));
  EXPECT_FALSE(MakeFolders(dir.path() + "/file/lvx"));
  EXPECT_FALSE(MakeFolders(""));
}

}  // namespace
}  // namespace lvx
