// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <set>
#include <string>

#include "drawable_picture.h"
#include "picture.h"

namespace lvx {

// The picture loader of the programs. Decoded pictures are kept by file
// identity (device, inode, size and modification time): a logo on every
// page, under whatever name, is decoded once and drawn from the same image
// (so a PDF embeds it once), while every Load still looks at the file, and
// a changed file is read again. The most recently used pictures are kept,
// up to `maxEntries` pictures and `maxBytes` of decoded data and scaled
// copies (the newest is kept whatever its size). A page may use pictures
// of up to kPixelsPerPage decoded pixels (its first picture always); past
// them Load gives null until the next StartPage (`pixelsPerPage` tells
// another allowance). Only regular files are
// read. Never throws.
class PictureCache : public PictureLoader {
 public:
  static constexpr std::int64_t kPixelsPerPage = std::int64_t{64} << 20;

  explicit PictureCache(std::size_t maxEntries = 32,
                        std::int64_t maxBytes = std::int64_t{128} << 20,
                        std::int64_t pixelsPerPage = kPixelsPerPage);

  std::shared_ptr<const Picture> Load(const std::string& path) override;
  void StartPage() override;

  std::size_t size() const { return entries_.size(); }
  // What the kept pictures hold now, scaled copies included.
  std::int64_t MemoryBytes() const;

 private:
  // What tells one version of a file from another.
  struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    auto operator<=>(const FileStamp&) const = default;
  };
  struct Entry {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const DrawablePicture> picture;
  };

  std::shared_ptr<const DrawablePicture> Find(const std::string& path, const FileStamp& stamp);
  // Counts the picture of file `stamp` against the page's pixels once;
  // false when past them.
  bool AllowOnPage(const FileStamp& stamp, const DrawablePicture& picture);
  void Keep(Entry entry);
  void Trim();

  std::size_t maxEntries_;
  std::int64_t maxBytes_;
  std::int64_t pixelsPerPage_;
  std::list<Entry> entries_;  // most recently used first
  std::int64_t pagePixels_ = 0;
  bool pageSpent_ = false;
  std::set<FileStamp> onPage_;
};

}  // namespace lvx
