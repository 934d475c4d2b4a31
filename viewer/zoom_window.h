// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "viewer_document.h"
#include "window_keys.h"

class QPushButton;

namespace lvx {

// A zoom window: `Form3` shows the upper half of the page, `Form4` the
// lower half, at about real size over a 210 by 143 coordinate space. Its
// three tall buttons page forward, switch to the other half and copy the
// drawing to the clipboard; a click on its surface goes back to the page
// window. Its buttons do not look at the page window's Busy flag, so they
// work while a companion program runs. Its event handlers never let an
// exception out.
class ZoomWindow : public QWidget {
  Q_OBJECT

 public:
  ZoomWindow(ViewerDocument& document, ZoomHalf half, QWidget* parent = nullptr);

  ZoomHalf half() const { return half_; }
  QPushButton* Button(const char* name) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void ShowHere();
  void UpdateCaption();
  // A paging key or the wheel: as "&Avanti", free of the page window's
  // busy guard.
  void Page(PagingMove move);

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Form_Click();

  ViewerDocument& document_;
  ZoomHalf half_;
  WheelPaging wheel_;
};

}  // namespace lvx
