// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

namespace lvx {

// The lock that lets one instance of a program run per user: a lock file
// named after the program in the user's runtime folder. A lock left by a
// process that died is taken over at once; one held by a live process is
// never, however old.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& programName);
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another live process holds the lock.
  bool IsFirst() const { return first_; }

  static QString LockPath(const QString& programName);

 private:
  QLockFile lock_;
  bool first_;
};

}  // namespace lvx
