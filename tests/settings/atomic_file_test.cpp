// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "signal_cleanup.h"
#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::Listing;
using testing::ReadAll;
using testing::TempDir;

TEST(AtomicFile, ReplacesItsTargetOnlyWhenAsked) {
  const TempDir dir;
  const std::string target = dir.Write("out.pdf", "old");
  {
    AtomicFile pending(target);
    ASSERT_TRUE(pending.ok()) << pending.error();
    EXPECT_EQ(fs::path(pending.path()).parent_path(), fs::path(dir.path()));
    EXPECT_EQ(ReadAll(target), "old");
  }
  // Not published: gone with the object, and the target untouched.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  AtomicFile pending(target);
  ASSERT_TRUE(pending.Write("new"));
  ASSERT_TRUE(pending.Replace(target));
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(AtomicFile, GetsTheUsualPermissionsOfANewFileOrTheOwnersOnly) {
  const TempDir dir;
  const mode_t old = ::umask(022);
  const AtomicFile shared(dir.path() + "/out.pdf");
  const AtomicFile own(dir.path() + "/job.pdf", AtomicFile::Access::kOwnerOnly);
  ::umask(old);
  struct stat st {};
  ASSERT_EQ(::stat(shared.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644U);
  ASSERT_EQ(::stat(own.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600U);
}

TEST(AtomicFile, BesideTheDocumentItNeverReplacesAFile) {
  const TempDir dir;
  const std::string target = dir.path() + "/doc.pdf";
  std::vector<std::string> written;
  for (int i = 0; i < 3; ++i) {
    AtomicFile pending(target);
    ASSERT_TRUE(pending.Write(std::to_string(i)));
    const auto path = pending.PublishBeside(target);
    ASSERT_TRUE(path) << pending.error();
    written.push_back(*path);
  }
  EXPECT_EQ(written, (std::vector<std::string>{target, dir.path() + "/doc-2.pdf",
                                               dir.path() + "/doc-3.pdf"}));
  EXPECT_EQ(ReadAll(target), "0");
  EXPECT_EQ(ReadAll(dir.path() + "/doc-3.pdf"), "2");

  // A gap is filled; files that came in between are skipped.
  fs::remove(dir.path() + "/doc-2.pdf");
  dir.Write("doc-5.pdf", "other");
  AtomicFile gap(target);
  EXPECT_EQ(gap.PublishBeside(target), dir.path() + "/doc-2.pdf");
}

TEST(AtomicFile, AFolderThatCannotTakeItSaysWhy) {
  const TempDir dir;
  AtomicFile missing(dir.path() + "/no/such/folder/out.pdf");
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(missing.error().empty());

  // A name taken by a folder is not replaced; the pending file stays.
  fs::create_directories(dir.path() + "/taken.pdf/inside");
  AtomicFile pending(dir.path() + "/taken.pdf");
  ASSERT_TRUE(pending.ok());
  EXPECT_FALSE(pending.Replace(dir.path() + "/taken.pdf"));
  EXPECT_FALSE(pending.error().empty());
  EXPECT_TRUE(fs::exists(pending.path()));
}

// Whatever stands in the target's place other than a regular file stays as
// it was: a device, pipe or link is not a file the job may take over.
TEST(AtomicFile, OnlyARegularFileOrNothingIsReplaced) {
  enum class Kind { kNothing, kRegular, kFolder, kPipe, kLinkToFile, kLinkToDevice, kDangling };
  const struct {
    Kind kind;
    bool replaced;
  } rows[] = {
      {Kind::kNothing, true},   {Kind::kRegular, true},     {Kind::kFolder, false},
      {Kind::kPipe, false},     {Kind::kLinkToFile, false}, {Kind::kLinkToDevice, false},
      {Kind::kDangling, false},
  };
  for (const auto& row : rows) {
    const TempDir dir;
    const std::string target = dir.path() + "/out.pdf";
    const std::string other = dir.Write("other.pdf", "other");
    switch (row.kind) {
      case Kind::kNothing:
        break;
      case Kind::kRegular:
        dir.Write("out.pdf", "old");
        break;
      case Kind::kFolder:
        fs::create_directory(target);
        break;
      case Kind::kPipe:
        ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
        break;
      case Kind::kLinkToFile:
        fs::create_symlink(other, target);
        break;
      case Kind::kLinkToDevice:
        fs::create_symlink("/dev/null", target);
        break;
      case Kind::kDangling:
        fs::create_symlink(dir.path() + "/nowhere", target);
        break;
    }
    const auto before = fs::symlink_status(target).type();
    EXPECT_EQ(IsReplaceable(target), row.replaced) << static_cast<int>(row.kind);

    AtomicFile pending(target);
    ASSERT_TRUE(pending.Write("new"));
    EXPECT_EQ(pending.Replace(target), row.replaced) << static_cast<int>(row.kind);
    EXPECT_EQ(ReadAll(other), "other");
    if (row.replaced) {
      EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target)));
      EXPECT_EQ(ReadAll(target), "new");
      EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"other.pdf", "out.pdf"}));
    } else {
      EXPECT_EQ(pending.error(), "not a regular file; left as it is");
      EXPECT_EQ(fs::symlink_status(target).type(), before) << static_cast<int>(row.kind);
      EXPECT_TRUE(fs::exists(fs::symlink_status(pending.path())));
    }
  }
}

TEST(AtomicFile, AReplacedFileKeepsItsPermissions) {
  const struct {
    mode_t old;
    AtomicFile::Access access;
  } rows[] = {
      {0640, AtomicFile::Access::kAsNewFile}, {0600, AtomicFile::Access::kAsNewFile},
      {0604, AtomicFile::Access::kAsNewFile}, {0755, AtomicFile::Access::kAsNewFile},
      {0644, AtomicFile::Access::kOwnerOnly}, {0000, AtomicFile::Access::kAsNewFile},
  };
  const mode_t mask = ::umask(022);
  for (const auto& row : rows) {
    const TempDir dir;
    const std::string target = dir.Write("out.pdf", "old");
    ASSERT_EQ(::chmod(target.c_str(), row.old), 0);
    AtomicFile pending(target, row.access);
    ASSERT_TRUE(pending.Replace(target)) << pending.error();
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, row.old) << std::oct << row.old;
  }
  ::umask(mask);
}

TEST(AtomicFile, EachTemporaryFileIsNewHiddenAndKeptFromChildren) {
  const TempDir dir;
  const std::string target = dir.path() + "/lvxprint.ini";
  const AtomicFile first(target);
  const AtomicFile second(target);
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_NE(first.path(), second.path());
  for (const AtomicFile* file : {&first, &second}) {
    EXPECT_EQ(fs::path(file->path()).filename().string().rfind(".lvxprint.ini.", 0), 0U)
        << file->path();
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file->path())));
    EXPECT_NE(::fcntl(file->fd(), F_GETFD) & FD_CLOEXEC, 0);
  }
}

// Someone who can write to the folder swaps the temporary name for a link
// after it was made: the writes still reach the file that was created, and
// the link is never published in the target's place.
TEST(AtomicFile, ALinkPlantedUnderItsNameIsNeitherWrittenNorPublished) {
  const TempDir dir;
  const std::string target = dir.Write("out.pdf", "old");
  const std::string victim = dir.Write("victim", "precious");
  for (const bool beside : {false, true}) {
    AtomicFile pending(target);
    ASSERT_TRUE(pending.ok());
    fs::remove(pending.path());
    fs::create_symlink(victim, pending.path());
    EXPECT_TRUE(pending.Write("job"));
    if (beside) {
      EXPECT_FALSE(pending.PublishBeside(dir.path() + "/new.pdf"));
      EXPECT_FALSE(fs::exists(dir.path() + "/new.pdf"));
    } else {
      EXPECT_FALSE(pending.Replace(target));
    }
    EXPECT_NE(pending.error().find("replaced meanwhile"), std::string::npos) << pending.error();
    EXPECT_EQ(ReadAll(victim), "precious");
    EXPECT_EQ(ReadAll(target), "old");
  }
  EXPECT_EQ(Listing(dir.path()), (std::set<std::string>{"out.pdf", "victim"}));
}

// Each stopping signal removes the pending file, says so in one line and
// ends the process with the status given.
TEST(AtomicFileDeathTest, AStoppingSignalRemovesThePendingFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    int signal;
    const char* name;
  } rows[] = {
      {SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"},   {SIGHUP, "SIGHUP"},
      {SIGPIPE, "SIGPIPE"}, {SIGXFSZ, "SIGXFSZ"},
  };
  for (const auto& row : rows) {
    const TempDir dir;
    const std::string target = dir.Write("out.pdf", "old");
    EXPECT_EXIT(
        {
          SignalCleanup::Install("lvxtest", 3);
          const AtomicFile other(dir.path() + "/other.pdf");
          const AtomicFile pending(target);
          if (!other.ok() || !pending.ok()) std::_Exit(1);
          std::raise(row.signal);
          std::_Exit(0);
        },
        ::testing::ExitedWithCode(3), std::string("lvxtest: stopped by ") + row.name);
    EXPECT_EQ(Listing(dir.path()), std::set<std::string>{"out.pdf"}) << row.name;
    EXPECT_EQ(ReadAll(target), "old");
  }
}

}  // namespace
}  // namespace lvx
