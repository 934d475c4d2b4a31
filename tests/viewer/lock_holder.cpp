// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: holds the lock file named by its argument the way a running
// viewer does, says "locked" on standard output, and lets go when its
// standard input closes.
#include <QCoreApplication>
#include <QLockFile>

#include <cstdio>

int main(int argc, char* argv[]) {
  // The lock records the holder's name, which others check against its pid.
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  QLockFile lock(QString::fromLocal8Bit(argv[1]));
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0)) return 1;
  std::puts("locked");
  std::fflush(stdout);
  char c = 0;
  while (std::fread(&c, 1, 1, stdin) == 1) {
  }
  return 0;
}
