// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_file.h"

#include "emf_picture.h"
#include "raster_picture.h"
#include "wmf_picture.h"

namespace lvx {

std::shared_ptr<const DrawablePicture> DecodePicture(const QByteArray& data) {
  if (data.isEmpty()) return nullptr;
  if (EmfPicture::Detect(data)) return EmfPicture::Decode(data);
  if (WmfPicture::Detect(data)) return WmfPicture::Decode(data);
  return RasterPicture::Decode(data);
}

}  // namespace lvx
