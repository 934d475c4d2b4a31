// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace lvx {

// Folder listings kept between look-ups, so that names that differ in case
// from their files read each folder once (again only after the folder
// changed), and an allowance of such look-ups per page: a document naming
// thousands of files that way costs a bounded time per page. Memory is
// bounded too: beyond kMaxNames names, listings are read again rather than
// kept.
class FolderListings {
 public:
  // Look-ups per page that walk a name folder by folder (the exact name
  // missing); past them only exact names are found.
  static constexpr std::size_t kWalksPerPage = 2000;
  static constexpr std::size_t kMaxNames = 200000;

  // The entry of `folder` equal to `name` ignoring case (Windows-1252); the
  // first in byte order when several are.
  std::optional<std::string> Match(const std::string& folder, std::string_view name);

  // Takes one walk from the page's allowance; false when none is left.
  bool TakeWalk();
  // A new page: the allowance is full again.
  void RenewAllowance() { walksLeft_ = kWalksPerPage; }

  std::size_t folderReads() const { return folderReads_; }

 private:
  // Upper-case name -> the entry's own name, and what the folder was when
  // it was read.
  struct Listing {
    std::unordered_map<std::string, std::string> names;
    std::int64_t changedNs = 0;
    std::uint64_t inode = 0;
  };
  const Listing* Read(const std::string& folder, Listing& scratch);

  std::unordered_map<std::string, Listing> folders_;
  std::size_t names_ = 0;
  std::size_t walksLeft_ = kWalksPerPage;
  std::size_t folderReads_ = 0;
};

// Names with more folders than this count as missing: each one costs a
// look-up, and no real file lies this deep.
inline constexpr std::size_t kMaxNameComponents = 64;

// Finds the regular file that `path` names the way the files' home system
// would: blanks at the end of the name are ignored, and where no entry has
// the exact name, the entry of that folder that matches ignoring letter case
// (Windows-1252) is used, folder by folder. Folders, devices, pipes and
// sockets count as missing. With `listings`, folders are read through them
// and walks come from their allowance. Never throws.
std::optional<std::string> FindFile(std::string_view path, FolderListings* listings = nullptr);

// Turns a file name taken from a document into a local path: backslashes,
// the documents' own separator, become "/".
std::string LocalSeparators(std::string_view name);

// True when the name holds a folder separator of either kind.
bool HasSeparator(std::string_view name);

}  // namespace lvx
