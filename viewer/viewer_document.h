// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>

#include "page_image.h"
#include "page_pointer.h"
#include "page_reader.h"
#include "picture_cache.h"
#include "viewer_session.h"
#include "window_keys.h"

namespace lvx {

// The document the page window and the zoom windows show, and what they
// tell each other. It holds the reader and the three persistent drawings:
// the page at half size over the page window's client area, and the upper
// and lower halves over the zoom windows' client areas, drawn on every page
// whether a zoom window is shown or not. The windows observe it through its
// signals and never call each other. Nothing here throws for anything a
// file holds.
class ViewerDocument : public QObject {
  Q_OBJECT

 public:
  // `session` has been started up and outlives this object;
  // `devicePixelRatio` is the screen's, so the drawings stay sharp.
  explicit ViewerDocument(ViewerSession& session, qreal devicePixelRatio = 1.0);

  ViewerSession& session() { return session_; }
  PageReader& reader() { return reader_; }
  const QImage& PageDrawing() const { return main_.image(); }
  const QImage& ZoomDrawing(ZoomHalf half) const;

  // The first page of the current document, at start-up.
  void ReadFirstPage();
  // Clears the three drawings and draws the next page: page 1 again after
  // the last one, or page 1 of a new version of the document (with its
  // header fields). While the document is missing it keeps the page shown.
  void NextPage();
  // "<" (-1) and ">" (+1): closes the document, takes the previous or next
  // one of the folder with its header fields, hides and clears the zoom
  // windows and draws the new document's first page.
  void StepDocument(int direction);
  // The previous page of the current document (nothing on its page 1),
  // and its page 1: the file is read again from its first page up to that
  // page, as the reader only reads forward.
  void PreviousPage();
  void FirstPageOfDocument();
  // A paging key's or the wheel's move: one of the three above.
  void Page(PagingMove move);
  void CloseFiles() { reader_.CloseFiles(); }

  // Whether the current document is on disk and not empty.
  bool DocumentPresent() const;
  // Follows a change of the document on disk. When a version other than
  // the one shown is there, re-reads its header fields and draws the page
  // with the number shown (counted from the file's start) in that version,
  // or its page 1 when it has fewer pages; open zoom windows stay open and
  // show it. A missing or empty document keeps the page shown. True when it
  // drew.
  bool FollowChange();
  // Shows the document at `path` (absolute) as "<" and ">" show another:
  // header fields, page 1, zoom windows hidden, the folder list of its
  // folder. False, with nothing changed, when the file is not usable.
  bool OpenHandedDocument(const std::string& path);
  // The position of the page shown in its file, 1 for the first page.
  int PageOrdinal() const { return pageOrdinal_; }

  // Requests the windows carry out.
  void ShowZoom(ZoomHalf half) { emit ZoomShowRequested(half); }
  void HideZoom(ZoomHalf half) { emit ZoomHideRequested(half); }
  void ShowPageWindow() { emit PageWindowRequested(); }

 signals:
  // The drawings changed: windows repaint.
  void PageDrawn();
  // The current document changed: captions change.
  void DocumentChanged();
  void ZoomShowRequested(ZoomHalf half);
  void ZoomHideRequested(ZoomHalf half);
  void PageWindowRequested();

 private:
  void ClearAll();
  void ReadPage();
  // The new current document's first page, after a step or a hand-over.
  void ShowNewDocument();
  // Reads the file again from its first page and shows its page `ordinal`
  // (1 the first), or the last one it reaches when it has fewer.
  void ShowPageOfFile(int ordinal);

  ViewerSession& session_;
  PictureCache pictures_;
  PageImage main_;
  PageImage upper_;
  PageImage lower_;
  PageReader reader_;
  int pageOrdinal_ = 0;
  // While a change is followed the reader does not hide the zoom windows.
  bool followingChange_ = false;
};

}  // namespace lvx
