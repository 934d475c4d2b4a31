// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "document_watch.h"

class QMimeData;

namespace lvx {

class PageWindow;
class ViewerDocument;

// Keeps the windows in step with the world outside: the shown document
// changing on disk, documents handed over by another start of the viewer
// and documents dropped on the page window. What arrives while the page
// window is busy (a companion's run, an open message) waits until it is
// idle; of several documents handed over meanwhile the last one counts.
class LiveView : public QObject {
  Q_OBJECT

 public:
  LiveView(ViewerDocument& document, PageWindow& page);

  // Shows the document at `path` (absolute, bytes as on disk) and raises
  // the page window; a path that is no usable document changes nothing.
  void HandOver(const std::string& path);

  // The first local ".lvx" file among dropped data, or nothing.
  static std::optional<std::string> DroppedDocument(const QMimeData* data);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WatchCurrentDocument();
  void ApplyPending();

  ViewerDocument& document_;
  PageWindow& page_;
  DocumentWatch watch_;
  bool changePending_ = false;
  std::optional<std::string> handedPending_;
};

}  // namespace lvx
