// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_scale.h"

namespace lvx {

ViewScale ViewScale::Millimetres(double dotsPerInch) {
  const double perMillimetre = dotsPerInch / 25.4;
  return {perMillimetre, perMillimetre};
}

ViewScale ViewScale::Stretched(QSizeF units, QSizeF pixels) {
  return {pixels.width() / units.width(), pixels.height() / units.height()};
}

}  // namespace lvx
