// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iterator>

#include <QByteArray>

#include "owned_fd.h"
#include "picture_file.h"

namespace lvx {
namespace {

bool ReadAll(int fd, std::int64_t size, QByteArray& data) {
  data.resize(static_cast<qsizetype>(size));
  qsizetype done = 0;
  while (done < data.size()) {
    const ssize_t got = ::read(fd, data.data() + done, static_cast<size_t>(data.size() - done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += got;
  }
  return true;
}

}  // namespace

PictureCache::PictureCache(std::size_t maxEntries, std::int64_t maxBytes,
                           std::int64_t pixelsPerPage)
    : maxEntries_(maxEntries == 0 ? 1 : maxEntries),
      maxBytes_(maxBytes),
      pixelsPerPage_(pixelsPerPage) {}

void PictureCache::StartPage() {
  pagePixels_ = 0;
  pageSpent_ = false;
  onPage_.clear();
}

bool PictureCache::AllowOnPage(const FileStamp& stamp, const DrawablePicture& picture) {
  if (onPage_.contains(stamp)) return true;
  if (pageSpent_) return false;
  const qint64 pixels = picture.Pixels();
  if (!onPage_.empty() && pagePixels_ + pixels > pixelsPerPage_) {
    pageSpent_ = true;
    return false;
  }
  pagePixels_ += pixels;
  onPage_.insert(stamp);
  return true;
}

std::shared_ptr<const DrawablePicture> PictureCache::Find(const std::string& path,
                                                          const FileStamp& stamp) {
  std::shared_ptr<const DrawablePicture> found;
  for (auto entry = entries_.begin(); entry != entries_.end();) {
    if (entry->stamp == stamp) {
      found = entry->picture;
      entries_.splice(entries_.begin(), entries_, entry);
      break;
    }
    // The file changed: its old picture goes.
    entry = entry->path == path ? entries_.erase(entry) : std::next(entry);
  }
  return found;
}

std::shared_ptr<const Picture> PictureCache::Load(const std::string& path) {
  // Non-blocking, so that a pipe put where a picture should be cannot
  // stall the open; regular files read the same either way.
  const OwnedFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  const FileStamp stamp{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino), info.st_size,
                        info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
  // Scaled copies made since the last call count now.
  Trim();
  if (auto picture = Find(path, stamp)) {
    if (!AllowOnPage(stamp, *picture)) return nullptr;
    return picture;
  }
  // A page past its pixels decodes nothing more.
  if (pageSpent_) return nullptr;
  if (stamp.size <= 0 || stamp.size > kMaxPictureFileBytes) return nullptr;
  QByteArray data;
  if (!ReadAll(file.fd(), stamp.size, data)) return nullptr;
  std::shared_ptr<const DrawablePicture> picture = DecodePicture(data);
  if (!picture) return nullptr;
  Keep(Entry{path, stamp, picture});
  if (!AllowOnPage(stamp, *picture)) return nullptr;
  return picture;
}

std::int64_t PictureCache::MemoryBytes() const {
  std::int64_t bytes = 0;
  for (const Entry& entry : entries_) bytes += entry.picture->MemoryBytes();
  return bytes;
}

void PictureCache::Keep(Entry entry) {
  entries_.push_front(std::move(entry));
  Trim();
}

void PictureCache::Trim() {
  std::int64_t bytes = MemoryBytes();
  while (entries_.size() > 1 && (entries_.size() > maxEntries_ || bytes > maxBytes_)) {
    bytes -= entries_.back().picture->MemoryBytes();
    entries_.pop_back();
  }
}

}  // namespace lvx
