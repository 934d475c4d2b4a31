// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempDir;

FolderProbe Probe(std::map<std::string, std::string> variables) {
  FolderProbe probe;
  probe.writable = [](const std::string&) { return true; };
  probe.variable = [variables = std::move(variables)](const char* name) {
    const auto found = variables.find(name);
    return found == variables.end() ? std::string() : found->second;
  };
  return probe;
}

TEST(MailFolder, TheUsersRunFolderFirst) {
  const struct {
    std::map<std::string, std::string> variables;
    std::string folder;
  } rows[] = {
      {{{"XDG_RUNTIME_DIR", "/run/user/7/"}, {"HOME", "/home/u"}}, "/run/user/7/lvx/mail"},
      {{{"XDG_RUNTIME_DIR", "run"}, {"XDG_STATE_HOME", "/st"}}, "/st/lvx/mail"},
      {{{"HOME", "/home/u"}}, "/home/u/.local/state/lvx/mail"},
      {{}, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(MailFolder(Probe(row.variables)), row.folder);
}

TEST(FreshRunFolder, EarlierRunsGoAndNothingOutsideIsTouched) {
  TempDir dir;
  const std::string mail = dir.path() + "/run/lvx/mail";
  dir.Write("outside/keep.pdf", "keep");
  std::string error;
  const std::string first = FreshRunFolder(mail, error);
  ASSERT_FALSE(first.empty()) << error;
  EXPECT_EQ(fs::path(first).parent_path(), fs::path(mail));
  EXPECT_EQ(fs::status(first).permissions() & fs::perms::all, fs::perms::owner_all);
  dir.Write("run/lvx/mail/" + fs::path(first).filename().string() + "/a.pdf", "pdf");
  dir.Write("run/lvx/mail/stray.pdf", "pdf");
  fs::create_directory_symlink(dir.path() + "/outside", mail + "/link");

  const std::string second = FreshRunFolder(mail, error);
  ASSERT_FALSE(second.empty()) << error;
  EXPECT_NE(second, first);
  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(mail)) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{fs::path(second)});
  EXPECT_EQ(ReadAll(dir.path() + "/outside/keep.pdf"), "keep");
}

TEST(FreshRunFolder, NoFolderNoRun) {
  TempDir dir;
  std::string error;
  EXPECT_EQ(FreshRunFolder("", error), "");
  EXPECT_FALSE(error.empty());
  dir.Write("file", "x");
  error.clear();
  EXPECT_EQ(FreshRunFolder(dir.path() + "/file/mail", error), "");
  EXPECT_NE(error.find(dir.path() + "/file/mail: "), std::string::npos) << error;
}

}  // namespace
}  // namespace lvx
