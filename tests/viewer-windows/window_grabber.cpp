// SPDX-License-Identifier: GPL-3.0-or-later
// Writes what an X window shows to a PNG file, at the screen's pixels:
// `window_grabber WINDOW-ID FILE`. For end-to-end tests on a virtual display.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 3) return 2;
  bool ok = false;
  const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok);
  if (!ok) return 2;
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  return !shot.isNull() && shot.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
