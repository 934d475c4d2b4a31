// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <memory>

#include "drawable_picture.h"

namespace lvx {

// Largest picture file read; anything bigger is taken as not a picture.
inline constexpr qint64 kMaxPictureFileBytes = qint64{256} << 20;

// The picture held in `data`: Windows metafiles (EMF, and WMF with a
// placeable header) drawn as vectors, and pixel pictures (Windows bitmaps,
// icons and cursors, GIF, JPEG, PNG), each known by its content. Null for
// any other format, even where Qt has a reader for it, for data that is cut short or corrupt, and
// for pictures claiming absurd sizes. Never throws.
std::shared_ptr<const DrawablePicture> DecodePicture(const QByteArray& data);

}  // namespace lvx
