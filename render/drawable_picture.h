// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRectF>
#include <QtGlobal>

#include "picture.h"

class QPainter;

namespace lvx {

// A picture this library loaded: besides its own size it can draw itself.
class DrawablePicture : public Picture {
 public:
  // Draws the whole picture stretched over `target`, given in the painter's
  // current coordinates. Vector pictures stay vectors. Never throws.
  virtual void Draw(QPainter& painter, const QRectF& target) const = 0;
  // Memory the decoded picture holds, scaled copies kept for drawing
  // included: counted against the cache's budget.
  virtual qint64 MemoryBytes() const = 0;
  // Pixels decoded for the picture, counted against a page's allowance.
  virtual qint64 Pixels() const { return 0; }
  // Whether Draw leaves everything outside `target` (but for antialiased
  // edges) as it was; a metafile's records may draw anywhere.
  virtual bool DrawsOnlyOnTarget() const { return false; }
};

}  // namespace lvx
