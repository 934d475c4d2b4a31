// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_lookup.h"

namespace lvx {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

bool LineReader::Open(std::string_view path) {
  Close();
  const auto found = FindFile(path);
  if (!found) return false;
  const int fd = ::open(found->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  pos_ = end_ = 0;
  offset_ = 0;
  return true;
}

void LineReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pos_ = end_ = 0;
  offset_ = 0;
}

bool LineReader::Fill() {
  if (fd_ < 0) return false;
  pos_ = 0;
  ssize_t got = 0;
  do {
    got = ::read(fd_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  // A failed read ends the file, as its end does.
  end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
  offset_ += end_;
  return end_ > 0;
}

bool LineReader::AtEnd() {
  return pos_ == end_ && !Fill();
}

bool LineReader::ReadLine(std::string& line) {
  if (AtEnd()) return false;
  line.clear();
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    const char* start = buffer_.get() + pos_;
    const void* cr = std::memchr(start, '\r', end_ - pos_);
    if (cr == nullptr) {
      line.append(start, end_ - pos_);
      pos_ = end_;
      continue;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    line.append(start, length);
    pos_ += length + 1;
    if ((pos_ < end_ || Fill()) && buffer_[pos_] == '\n') ++pos_;
    break;
  }
  return true;
}

bool LineReader::Seek(std::uint64_t offset) {
  if (fd_ < 0) return false;
  if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) return false;
  pos_ = end_ = 0;
  offset_ = offset;
  return true;
}

}  // namespace lvx
