// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the tests inside an application object (locks record the program's
// name) with a runtime folder of their own.
#include <QCoreApplication>
#include <cstdlib>

#include <gtest/gtest.h>

#include "temp_dir.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const lvx::testing::TempDir runtime;  // created 0700, as Qt wants it
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  const QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
