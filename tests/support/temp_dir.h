// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lvx::testing {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path);

// The parts of `bytes` each ended by a NUL, as stand-in programs record
// their arguments.
std::vector<std::string> SplitAtNul(const std::string& bytes);

// The names in `folder`, without the folder's path.
std::set<std::string> Listing(const std::string& folder);

// The text of a document: each of `lines` ended by CR LF.
std::string Lines(const std::vector<std::string>& lines);

}  // namespace lvx::testing
