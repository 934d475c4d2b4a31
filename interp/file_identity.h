// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lvx {

// What tells one version of a file from another: a file rewritten in place
// changes its size or modification time, one renamed over it its inode.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;

  bool operator==(const FileIdentity&) const = default;
};

// The identity of the regular file `path` names (found as FindFile finds
// it), or nothing when there is none. Never throws.
std::optional<FileIdentity> IdentityOfPath(std::string_view path);

// The identity of the file open on `fd`, or nothing when it is no regular
// file.
std::optional<FileIdentity> IdentityOfDescriptor(int fd);

}  // namespace lvx
