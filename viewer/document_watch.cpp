// SPDX-License-Identifier: GPL-3.0-or-later
#include "document_watch.h"

#include <QFileInfo>

namespace lvx {

DocumentWatch::DocumentWatch(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &DocumentWatch::Settle);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &DocumentWatch::OnEvent);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DocumentWatch::OnEvent);
}

void DocumentWatch::Watch(const QString& path) {
  settle_.stop();
  if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty()) {
    watcher_.removePaths(watched);
  }
  path_ = path;
  if (path_.isEmpty()) return;
  watcher_.addPath(QFileInfo(path_).absolutePath());
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void DocumentWatch::OnEvent() {
  // The first change of a burst starts the count; later ones ride along.
  if (!settle_.isActive()) settle_.start();
}

void DocumentWatch::Settle() {
  // The kernel watches the file the name stood for, which a file renamed
  // over it replaces: watch whatever now stands under the name.
  if (watcher_.files().contains(path_)) watcher_.removePath(path_);
  if (QFileInfo::exists(path_)) watcher_.addPath(path_);
  emit Changed();
}

}  // namespace lvx
