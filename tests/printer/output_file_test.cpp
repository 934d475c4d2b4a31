// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

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
    const std::string path = dir.Write("x.pdf", row.bytes);
    EXPECT_EQ(IsCompletePdf(path), row.complete) << row.bytes;
    // Through a descriptor, wherever its offset stands.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(IsCompletePdf(fd), row.complete) << row.bytes;
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 0) << "the offset is left alone";
    ::close(fd);
  }
  EXPECT_FALSE(IsCompletePdf(dir.path() + "/missing.pdf"));
}

}  // namespace
}  // namespace lvx
