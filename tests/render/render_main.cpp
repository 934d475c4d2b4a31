// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing needs a GUI application; the tests run it on the offscreen
// platform with a private runtime folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QGuiApplication>
#include <QLoggingCategory>

#include "temp_dir.h"

int main(int argc, char** argv) {
  const lvx::testing::TempDir runtime;
  ::chmod(runtime.path().c_str(), 0700);
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication app(argc, argv);
  // The corrupt-picture tests make the image readers complain by design.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
