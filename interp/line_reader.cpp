// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
  failed_ = false;
  if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kBufferSize);
  pos_ = end_ = 0;
  offset_ = 0;
  return true;
}

void LineReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  failed_ = false;
  pos_ = end_ = 0;
  offset_ = 0;
}

bool LineReader::Fill() {
  if (fd_ < 0 || failed_) return false;
  pos_ = 0;
  ssize_t got = 0;
  do {
    got = ::read(fd_, buffer_.get(), kBufferSize);
  } while (got < 0 && errno == EINTR);
  // A failed read ends the file for good: bytes read after a gap would pass
  // for the lines that were lost.
  failed_ = got < 0;
  end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
  offset_ += end_;
  return end_ > 0;
}

bool LineReader::AtEnd() {
  return pos_ == end_ && !Fill();
}

void LineReader::Take(std::string& line, const char* bytes, std::size_t count, TailKeys* tail) {
  const std::size_t room = kKeptLineBytes - std::min(line.size(), kKeptLineBytes);
  const std::size_t kept = std::min(room, count);
  line.append(bytes, kept);
  if (kept == count) return;
  if (!lastLineCut_) {
    lastLineCut_ = true;
    if (tail != nullptr) tail->Start(line);
  }
  if (tail != nullptr) tail->Scan(std::string_view(bytes + kept, count - kept));
}

bool LineReader::ReadLine(std::string& line, TailKeys* tail) {
  if (AtEnd()) return false;
  line.clear();
  lastLineCut_ = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    const char* start = buffer_.get() + pos_;
    const void* cr = std::memchr(start, '\r', end_ - pos_);
    if (cr == nullptr) {
      Take(line, start, end_ - pos_, tail);
      pos_ = end_;
      continue;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    Take(line, start, length, tail);
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
