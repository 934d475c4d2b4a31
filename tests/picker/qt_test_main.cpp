// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the tests inside a QApplication on the offscreen platform, with a
// runtime folder of their own.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

// The offscreen platform cannot pass a fixed window size on to a window
// manager and says so for every dialog; everything else is shown.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains("does not support propagateSizeHints")) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const lvx::testing::TempDir runtime;  // created 0700, as Qt wants it
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietOffscreen);
  const QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
