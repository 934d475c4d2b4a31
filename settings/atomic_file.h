// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lvx {

// The `number`th choice for a file that must not replace another: the path
// itself for 1, else "-<number>" before the name's extension ("a.pdf",
// "a-2.pdf", ...).
std::string NumberedPath(std::string_view path, int number);

// Whether a new file may take the place of `target`: nothing is there, or a
// regular file is. A symbolic link, folder, device, pipe or socket is never
// replaced (the link itself is looked at, not what it points to).
bool IsReplaceable(const std::string& target);

// A file written in the folder of its final place under a hidden name that
// no other file had: it is created exclusively, so nothing planted under
// that name is ever opened or followed, and it is written only through
// fd(). It reaches its place whole and durable: flushed to disk, renamed,
// and the rename itself flushed with its folder. Until then it is removed on
// destruction, or by SignalCleanup when a signal ends the process. Never
// throws.
class AtomicFile {
 public:
  enum class Access {
    kAsNewFile,  // the permissions any new file of this process gets
    kOwnerOnly,  // for a job on its way to a printer
  };

  // Creates the temporary file for `target` (which need not exist).
  explicit AtomicFile(const std::string& target, Access access = Access::kAsNewFile);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // False, with error() saying why, when the file could not be created.
  bool ok() const { return fd_ >= 0; }
  // Open for reading and writing until the file is published or destroyed.
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

  // Writes all of `bytes` at the current offset; false (see error()) when
  // some could not be written.
  bool Write(std::string_view bytes);

  // Moves the file to `target` when IsReplaceable allows it. A replaced file
  // passes its permission bits and, where the system allows, its owner on.
  // False (see error()) when refused or failed, the old file untouched and
  // this one still pending; or, when only the folder could not be flushed
  // after the rename, with the new file in place and error() saying so.
  bool Replace(const std::string& target);
  // Moves the file to the first free NumberedPath of `target`, never
  // replacing a file, even one that appears meanwhile; the path it took, or
  // nothing (see error(), which names the path when only the folder could
  // not be flushed after the rename).
  std::optional<std::string> PublishBeside(const std::string& target);

 private:
  bool Fail(int error);
  // Flushes what was written to disk; a save that cannot is no save.
  bool Sync();
  // Flushes the folder of `published`, which holds this file now; false,
  // with error() saying it was written (`as` that name, when given), when
  // that fails.
  bool SyncFolderOf(const std::string& published, std::string_view as = {});
  // Whether the name still holds the file written, not something put there
  // since, which the rename would otherwise publish.
  bool StillAtItsPath();
  void Published();

  int fd_ = -1;
  int signalSlot_ = -1;
  std::string path_;
  std::string error_;
};

}  // namespace lvx
