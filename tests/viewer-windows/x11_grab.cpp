// SPDX-License-Identifier: GPL-3.0-or-later
// x11_grab WINDOW-ID FILE.png: writes what an X window shows, pixel for
// pixel, as PNG. The end-to-end tests look at the real viewer through it.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char* argv[]) {
  // Its own pixels are the window's: no scaling of this program's own.
  qunsetenv("QT_SCALE_FACTOR");
  QGuiApplication app(argc, argv);
  if (argc != 3) return 2;
  bool ok = false;
  const WId window = QString::fromLocal8Bit(argv[1]).toULongLong(&ok);
  if (!ok || QGuiApplication::primaryScreen() == nullptr) return 2;
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  return !shot.isNull() && shot.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
