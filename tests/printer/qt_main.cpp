// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the tests inside a QGuiApplication on the offscreen platform, with a
// runtime folder of their own, as lvxprint runs.
#include <QGuiApplication>
#include <cstdlib>

#include <gtest/gtest.h>

#include "temp_dir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const lvx::testing::TempDir runtime;  // created 0700, as Qt wants it
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
