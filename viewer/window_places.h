// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <map>
#include <optional>

#include "window_places_file.h"

class QWidget;

namespace lvx {

// Whether a window whose frame would be `frame` can be reached there: its
// title bar lies on one of the `screens` (their available areas) far
// enough to be taken with the pointer.
bool OnSomeScreen(const QRect& frame, const QList<QRect>& screens);

// Where a zoom window of frame size `zoom` opens beside the page window's
// frame `page`, on `screen` (its available area): right of the page window
// where the screen has room, else left of it, else as far left as keeps
// its button panel, which starts at x `panelLeft`, uncovered.
QPoint ZoomPlaceBeside(const QRect& page, int panelLeft, QSize zoom, const QRect& screen);

// The place of each window where the user last put it, per user in the
// user's config folder (`lvx/lvxview-windows.conf`). Watches the page
// window and the zoom windows: on its first showing a window comes back
// to its stored place unless that is off every screen; a zoom window
// without one opens beside the page window. A place is stored when a
// window that the user moved is hidden, and when this object goes; the
// file is replaced whole each time (WriteWindowPlaces).
class WindowPlaces : public QObject {
 public:
  // `file` overrides the user's file (tests).
  explicit WindowPlaces(const QString& file = {});
  ~WindowPlaces() override;
  WindowPlaces(const WindowPlaces&) = delete;
  WindowPlaces& operator=(const WindowPlaces&) = delete;

  // `window` is placed and remembered under its object name; zoom windows
  // open beside `page`, whose button panel starts `panelLeft` pixels from
  // its client area's left edge.
  void Watch(QWidget& window, QWidget* page = nullptr, int panelLeft = 0);

  std::optional<QPoint> Stored(const QString& name) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Watched {
    QPointer<QWidget> window;
    QPointer<QWidget> page;
    int panelLeft = 0;
    bool placed = false;
    // Where this object put the window: not a place the user chose.
    std::optional<QPoint> placedAt;
  };
  void Place(Watched& watched);
  // Notes where the user put `watched`; whether that is a new place.
  bool Note(const Watched& watched);

  QString file_;
  StoredPlaces places_;
  std::map<QObject*, Watched> watched_;
};

}  // namespace lvx
