// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;
using testing::TempDir;

TEST(OutputFile, PdfNamesBesideTheDocument) {
  const struct {
    std::string_view doc;
    std::string_view pdf;
    std::string_view third;
  } rows[] = {
      {"/d/invoice.lvx", "/d/invoice.pdf", "/d/invoice-3.pdf"},
      {"/d/invoice.LVX", "/d/invoice.pdf", "/d/invoice-3.pdf"},
      {"/d/invoice", "/d/invoice.pdf", "/d/invoice-3.pdf"},
      {"/d/a.b.lvx", "/d/a.b.pdf", "/d/a.b-3.pdf"},
      {"/d/.lvx", "/d/.lvx.pdf", "/d/.lvx-3.pdf"},
      {"/d.x/invoice", "/d.x/invoice.pdf", "/d.x/invoice-3.pdf"},
      {"/d/my invoice.lvx", "/d/my invoice.pdf", "/d/my invoice-3.pdf"},
  };
  for (const auto& row : rows) {
    const std::string pdf = BesidePdfPath(row.doc);
    EXPECT_EQ(pdf, row.pdf) << row.doc;
    EXPECT_EQ(NumberedPath(pdf, 1), row.pdf) << row.doc;
    EXPECT_EQ(NumberedPath(pdf, 3), row.third) << row.doc;
  }
}

TEST(OutputFile, ACompletePdfEndsWithItsEndMark) {
  const TempDir dir;
  const struct {
    std::string_view bytes;
    bool complete;
  } rows[] = {
      {"%PDF-1.4\n...\n%%EOF\n", true},
      {"%PDF-1.4\n...\n%%EOF", true},
      {"%PDF-1.4\n...\n%%EOF\r\n", true},
      {"%PDF-1.4\n...\nstartxref\n12", false},
      {"", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IsCompletePdf(dir.Write("x.pdf", row.bytes)), row.complete) << row.bytes;
  }
  EXPECT_FALSE(IsCompletePdf(dir.path() + "/missing.pdf"));
}

TEST(PendingFile, ReplacesItsTargetOnlyWhenAsked) {
  const TempDir dir;
  const std::string target = dir.Write("out.pdf", "old");
  {
    PendingFile pending(target);
    ASSERT_TRUE(pending.ok()) << pending.error();
    EXPECT_EQ(fs::path(pending.path()).parent_path(), fs::path(dir.path()));
    EXPECT_EQ(ReadAll(target), "old");
  }
  // Not published: gone with the object, and the target untouched.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  PendingFile pending(target);
  dir.Write(fs::path(pending.path()).filename().string(), "new");
  ASSERT_TRUE(pending.Replace(target));
  EXPECT_EQ(ReadAll(target), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(PendingFile, GetsTheUsualPermissionsOfANewFileOrTheOwnersOnly) {
  const TempDir dir;
  const mode_t old = ::umask(022);
  const PendingFile shared(dir.path() + "/out.pdf");
  const PendingFile own(dir.path() + "/job.pdf", PendingFile::Access::kOwnerOnly);
  ::umask(old);
  struct stat st {};
  ASSERT_EQ(::stat(shared.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644U);
  ASSERT_EQ(::stat(own.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600U);
}

TEST(PendingFile, BesideTheDocumentItNeverReplacesAFile) {
  const TempDir dir;
  const std::string target = dir.path() + "/doc.pdf";
  std::vector<std::string> written;
  for (int i = 0; i < 3; ++i) {
    PendingFile pending(target);
    dir.Write(fs::path(pending.path()).filename().string(), std::to_string(i));
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
  PendingFile gap(target);
  EXPECT_EQ(gap.PublishBeside(target), dir.path() + "/doc-2.pdf");
}

TEST(PendingFile, AFolderThatCannotTakeItSaysWhy) {
  const TempDir dir;
  PendingFile missing(dir.path() + "/no/such/folder/out.pdf");
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(missing.error().empty());

  // A name taken by a folder cannot be replaced; the pending file stays.
  fs::create_directories(dir.path() + "/taken.pdf/inside");
  PendingFile pending(dir.path() + "/taken.pdf");
  ASSERT_TRUE(pending.ok());
  EXPECT_FALSE(pending.Replace(dir.path() + "/taken.pdf"));
  EXPECT_FALSE(pending.error().empty());
  EXPECT_TRUE(fs::exists(pending.path()));
}

}  // namespace
}  // namespace lvx
