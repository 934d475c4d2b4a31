// SPDX-License-Identifier: GPL-3.0-or-later
// Opens its argument in the desktop's default text editor, in a process of
// its own so that each test meets the desktop entries of its private XDG
// folders: GIO reads them once per process. Exits 0 when an editor started.
#include <QString>

#include "desktop_editor.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  return lvx::LaunchDefaultTextEditor(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
