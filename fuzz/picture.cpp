// SPDX-License-Identifier: GPL-3.0-or-later
// One picture file: decoded as the loader does, then drawn, so that the
// metafile players run over whatever records the file holds.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "fuzz_support.h"
#include "picture_file.h"

namespace {

void EnsureApplication() {
  static QGuiApplication* app = [] {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EnsureApplication();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const auto picture = lvx::DecodePicture(bytes);
  if (!picture) return 0;
  QImage canvas(64, 64, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  picture->Draw(painter, QRectF(2, 2, 60, 60));
  return 0;
}
