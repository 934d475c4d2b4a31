// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace lvx {

// Tells when a file may have changed: rewritten in place, replaced by
// another renamed over it, deleted or created again. It watches the file
// and its folder through the kernel's file notifications, so nothing runs
// while nothing changes; a burst of changes (a program writing the file
// piece by piece) is reported once, kSettleMs after its first change.
class DocumentWatch : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSettleMs = 150;

  explicit DocumentWatch(QObject* parent = nullptr);

  // Watches `path` (and its folder) from now on instead of what was
  // watched before. A missing file is watched through its folder.
  void Watch(const QString& path);

 signals:
  // The file may differ from what it was: the receiver compares.
  void Changed();

 private:
  void OnEvent();
  void Settle();

  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
};

}  // namespace lvx
