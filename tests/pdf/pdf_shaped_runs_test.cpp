// SPDX-License-Identifier: GPL-3.0-or-later
// The runs a face keeps: found again while in use, dropped when not, and
// within a bounded number of characters however many texts come by.
#include <gtest/gtest.h>

#include "pdf_shaped_runs.h"

namespace lvx::testing {
namespace {

ShapedRun RunOf(std::int64_t advance) {
  ShapedRun run;
  run.advance = advance;
  run.parts.push_back({0, "[(x)]"});
  return run;
}

QString Numbered(int i) {
  return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
}

TEST(ShapedRuns, ALabelInUseStaysAmongEverChangingAmounts) {
  ShapedRuns runs;
  const QString label = QStringLiteral("Totale imponibile");
  runs.Keep(label, RunOf(1234));
  runs.Keep(QStringLiteral("Used once"), RunOf(1));
  constexpr int kTexts = 100000;
  std::size_t most = 0;
  for (int i = 0; i < kTexts; ++i) {
    const QString amount = Numbered(i);
    ASSERT_EQ(runs.Find(amount), nullptr) << "never kept before";
    EXPECT_EQ(runs.Keep(amount, RunOf(i)).advance, i);
    ASSERT_NE(runs.Find(amount), nullptr);
    // The label comes back on every page of sixty texts.
    if (i % 60 == 0) {
      const ShapedRun* found = runs.Find(label);
      ASSERT_NE(found, nullptr) << "after " << i << " texts";
      EXPECT_EQ(found->advance, 1234);
    }
    most = std::max(most, runs.size());
  }
  EXPECT_EQ(runs.Find(QStringLiteral("Used once")), nullptr) << "dropped two generations on";
  // Two generations of six-character texts, the label beside them.
  EXPECT_LE(most, 2 * ShapedRuns::kCharactersPerGeneration / 6 + 2);
  EXPECT_GT(most, ShapedRuns::kCharactersPerGeneration / 6);
}

TEST(ShapedRuns, ALineTooLongToKeepIsGivenButNotKept) {
  ShapedRuns runs;
  const QString line(ShapedRuns::kLongestKept + 1, QLatin1Char('x'));
  EXPECT_EQ(runs.Keep(line, RunOf(77)).advance, 77);
  EXPECT_EQ(runs.Find(line), nullptr);
  EXPECT_EQ(runs.size(), 0U);
  const QString longest(ShapedRuns::kLongestKept, QLatin1Char('x'));
  runs.Keep(longest, RunOf(78));
  ASSERT_NE(runs.Find(longest), nullptr);
  EXPECT_EQ(runs.Find(longest)->advance, 78);
}

}  // namespace
}  // namespace lvx::testing
