// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

namespace lvx {

// One running instance of a program per user: a lock file in the user's
// runtime folder, held from Claim to the end of the process. A lock left by
// a process that has gone is taken over at once. Needs an application
// object while claiming (the lock records the program's name).
class SingleInstance {
 public:
  explicit SingleInstance(const QString& lockPath);

  // `progName`.lock in the user's runtime folder (XDG_RUNTIME_DIR), or in
  // the temporary folder with the user id when there is none.
  static QString LockPathFor(const QString& progName);

  // True when this process holds the lock now (or already did); false only
  // when another live process holds it. A lock that cannot be made for
  // another reason (an unwritable folder) does not keep the program from
  // running.
  bool Claim();

 private:
  QLockFile lock_;
};

}  // namespace lvx
