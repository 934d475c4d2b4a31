// SPDX-License-Identifier: GPL-3.0-or-later
// Widget tests run without a display, with a private runtime folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "temp_dir.h"

int main(int argc, char* argv[]) {
  const lvx::testing::TempDir runtime;
  std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace);
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Nothing a test does lands in the user's config folder.
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(runtime.path() + "/config"));
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lvxview"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
