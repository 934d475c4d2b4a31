// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace lvx {

QString SingleInstance::LockPath(const QString& programName) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + "/" + programName + ".lock";
}

SingleInstance::SingleInstance(const QString& programName) : lock_(LockPath(programName)) {
  // Where the file system has no native locks, Qt takes a lock older than
  // 30 s for stale even while its holder lives; only a dead holder may lose it.
  lock_.setStaleLockTime(0);
  first_ = lock_.tryLock(0);
}

}  // namespace lvx
