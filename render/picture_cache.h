// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "drawable_picture.h"
#include "picture.h"

namespace lvx {

// The picture loader of the programs. Decoded pictures are kept by path,
// file identity, size and modification time: a logo on every page is
// decoded once and drawn from the same image (so a PDF embeds it once),
// while every Load still looks at the file, and a changed file is read
// again. The most recently used pictures are kept, up to `maxEntries`
// pictures and `maxBytes` of decoded data (the newest is kept whatever its
// size). Only regular files are read. Never throws.
class PictureCache : public PictureLoader {
 public:
  explicit PictureCache(std::size_t maxEntries = 32,
                        std::int64_t maxBytes = std::int64_t{256} << 20);

  std::shared_ptr<const Picture> Load(const std::string& path) override;

  std::size_t size() const { return entries_.size(); }

 private:
  // What tells one version of a file from another.
  struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  struct Entry {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const DrawablePicture> picture;
  };

  void Keep(Entry entry);

  std::size_t maxEntries_;
  std::int64_t maxBytes_;
  std::int64_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
};

}  // namespace lvx
