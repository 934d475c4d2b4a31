// SPDX-License-Identifier: GPL-3.0-or-later
#include "live_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "file_lookup.h"
#include "guarded.h"
#include "page_window.h"
#include "viewer_document.h"

namespace lvx {

LiveView::LiveView(ViewerDocument& document, PageWindow& page) : document_(document), page_(page) {
  connect(&watch_, &DocumentWatch::Changed, this, [this] {
    changePending_ = true;
    ApplyPending();
  });
  // Queued: the action that ended has left its handler first.
  connect(&page_, &PageWindow::BecameIdle, this, &LiveView::ApplyPending, Qt::QueuedConnection);
  connect(&document_, &ViewerDocument::DocumentChanged, this, &LiveView::WatchCurrentDocument);
  page_.setAcceptDrops(true);
  page_.installEventFilter(this);
  WatchCurrentDocument();
}

void LiveView::WatchCurrentDocument() {
  // List entries are in lower case: the kernel watches the name on disk.
  const std::string& docPath = document_.session().DocPath;
  const auto found = FindFile(docPath);
  // DocumentChanged also comes with a new version of the same file.
  watch_.Watch(QFile::decodeName(QByteArray::fromStdString(found ? *found : docPath)));
}

void LiveView::HandOver(const std::string& path) {
  handedPending_ = path;
  ApplyPending();
}

void LiveView::ApplyPending() {
  if (page_.Busy != 0) return;
  Guarded([this] {
    if (handedPending_) {
      const std::string path = std::move(*handedPending_);
      handedPending_.reset();
      changePending_ = false;
      if (document_.OpenHandedDocument(path)) document_.ShowPageWindow();
      return;
    }
    if (changePending_) {
      changePending_ = false;
      document_.FollowChange();
    }
  });
}

std::optional<std::string> LiveView::DroppedDocument(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return std::nullopt;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString file = url.toLocalFile();
    if (file.endsWith(QStringLiteral(".lvx"), Qt::CaseInsensitive)) {
      return QFile::encodeName(file).toStdString();
    }
  }
  return std::nullopt;
}

bool LiveView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &page_) return false;
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (DroppedDocument(drag->mimeData())) drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (const auto path = DroppedDocument(drop->mimeData())) {
      drop->acceptProposedAction();
      HandOver(*path);
    }
    return true;
  }
  return false;
}

}  // namespace lvx
