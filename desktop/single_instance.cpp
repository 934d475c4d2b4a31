// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

namespace lvx {

SingleInstance::SingleInstance(const QString& lockPath) : lock_(lockPath) {
  // The holder may run for days: only a dead holder makes the lock stale,
  // never the lock's age.
  lock_.setStaleLockTime(0);
}

QString SingleInstance::LockPathFor(const QString& progName) {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) return runtime + "/" + progName + ".lock";
  return QDir::tempPath() + "/" + progName + "-" + QString::number(::getuid()) + ".lock";
}

bool SingleInstance::Claim() {
  if (lock_.isLocked() || lock_.tryLock(0)) return true;
  return lock_.error() != QLockFile::LockFailedError;
}

}  // namespace lvx
