// SPDX-License-Identifier: GPL-3.0-or-later
// Each tests/data/*.lvx has a .trace beside it: every drawing call the
// viewer makes for its pages. After a deliberate change, regenerate them
// with LVX_REGENERATE_GOLDEN=1 and read the diff.
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "temp_dir.h"
#include "trace_run.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

TEST(GoldenTrace, EveryDocumentMatchesItsTrace) {
  const bool regenerate = std::getenv("LVX_REGENERATE_GOLDEN") != nullptr;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(LVX_TEST_DATA)) {
    if (entry.path().extension() != ".lvx" || entry.path().stem().string().rfind("part-", 0) == 0) {
      continue;
    }
    // The reader works on a copy: a trace must never change the data folder.
    testing::TempDir dir;
    for (const auto& file : fs::directory_iterator(LVX_TEST_DATA)) {
      fs::copy(file.path(), dir.path() + "/" + file.path().filename().string());
    }
    const std::string doc = dir.path() + "/" + entry.path().filename().string();
    const std::string actual = Joined(TracePages(doc));
    fs::path golden = entry.path();
    golden.replace_extension(".trace");
    if (regenerate) {
      std::ofstream(golden, std::ios::binary) << actual;
    } else {
      EXPECT_EQ(actual, testing::ReadAll(golden.string())) << entry.path();
    }
    ++compared;
  }
  EXPECT_GE(compared, 2);
}

}  // namespace
}  // namespace lvx
