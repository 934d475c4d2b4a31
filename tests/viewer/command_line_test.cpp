// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace lvx {
namespace {

TEST(SplitDocumentPath, SplitsAtTheLastSeparator) {
  struct Row {
    std::string cmdText;
    std::string docPath;
    std::string fileName;
    std::string folder;
  };
  const std::vector<Row> rows = {
      {"/docs/March 2009/f001.lvx", "/docs/March 2009/f001.lvx", "f001.lvx", "/docs/March 2009/"},
      {"f001.lvx", "f001.lvx", "f001.lvx", "/home/u"},
      {"sub/a.lvx", "sub/a.lvx", "a.lvx", "sub/"},
      {"/a.lvx", "/a.lvx", "a.lvx", "/"},
      {"/docs/", "/docs/", "", "/docs/"},
      {"", "", "", "/home/u"},
      // Only "/" separates here: a backslash is part of the name.
      {"a\\b.lvx", "a\\b.lvx", "a\\b.lvx", "/home/u"},
  };
  for (const auto& row : rows) {
    const SplitPath split = SplitDocumentPath(row.cmdText, "/home/u");
    EXPECT_EQ(split.DocPath, row.docPath) << row.cmdText;
    EXPECT_EQ(split.DocFileName, row.fileName) << row.cmdText;
    EXPECT_EQ(split.DocFolder, row.folder) << row.cmdText;
  }
}

}  // namespace
}  // namespace lvx
