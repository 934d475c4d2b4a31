// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

#include "painter_page_view.h"
#include "view_scale.h"

namespace lvx {

// A page view that draws into an image of its own: a window's persistent
// drawing (the paint event shows image()), or a page written out as PNG.
// The image is white at first and has the screen's 96 dots per inch, so
// points and millimetres come out as on the screen.
class PageImage {
 public:
  // `size` in logical pixels; a high-density screen passes its device pixel
  // ratio and gets an image with that many more pixels.
  PageImage(QSize size, ViewScale scale, qreal devicePixelRatio = 1.0);
  PageImage(const PageImage&) = delete;
  PageImage& operator=(const PageImage&) = delete;

  const QImage& image() const { return image_; }
  PainterPageView& view() { return view_; }

 private:
  QImage image_;
  PainterPageView view_;
};

// Size in logical pixels of the main view's image: half an A4 page.
QSize HalfPagePixels();

}  // namespace lvx
