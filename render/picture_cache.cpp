// SPDX-License-Identifier: GPL-3.0-or-later
#include "picture_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QByteArray>

#include "picture_file.h"

namespace lvx {
namespace {

// A file descriptor that closes itself.
class OpenFile {
 public:
  // Non-blocking, so that a pipe put where a picture should be cannot
  // stall the open; regular files read the same either way.
  explicit OpenFile(const std::string& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

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

PictureCache::PictureCache(std::size_t maxEntries, std::int64_t maxBytes)
    : maxEntries_(maxEntries == 0 ? 1 : maxEntries), maxBytes_(maxBytes) {}

std::shared_ptr<const Picture> PictureCache::Load(const std::string& path) {
  const OpenFile file(path);
  struct stat info {};
  if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  const FileStamp stamp{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino), info.st_size,
                        info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
  for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
    if (entry->path != path) continue;
    if (entry->stamp == stamp) {
      entries_.splice(entries_.begin(), entries_, entry);
      return entries_.front().picture;
    }
    // The file changed: its old picture goes.
    bytes_ -= entry->picture->MemoryBytes();
    entries_.erase(entry);
    break;
  }
  if (stamp.size <= 0 || stamp.size > kMaxPictureFileBytes) return nullptr;
  QByteArray data;
  if (!ReadAll(file.fd(), stamp.size, data)) return nullptr;
  auto picture = DecodePicture(data);
  if (!picture) return nullptr;
  Keep(Entry{path, stamp, picture});
  return picture;
}

void PictureCache::Keep(Entry entry) {
  bytes_ += entry.picture->MemoryBytes();
  entries_.push_front(std::move(entry));
  while (entries_.size() > 1 && (entries_.size() > maxEntries_ || bytes_ > maxBytes_)) {
    bytes_ -= entries_.back().picture->MemoryBytes();
    entries_.pop_back();
  }
}

}  // namespace lvx
