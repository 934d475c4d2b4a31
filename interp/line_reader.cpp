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
  lineEnds_ = LineEnds::kUnknown;
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
  nextLf_ = kNoLf;
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

const char* LineReader::FindLineEnd() {
  const char* from = buffer_.get() + pos_;
  const std::size_t count = end_ - pos_;
  if (lineEnds_ == LineEnds::kCr) return static_cast<const char*>(std::memchr(from, '\r', count));
  // The next LF of the buffer is remembered, so that lines ended by lone CRs
  // do not scan the rest of the buffer again each.
  if (nextLf_ == kNoLf || nextLf_ < pos_) {
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', count));
    nextLf_ = lf == nullptr ? end_ : static_cast<std::size_t>(lf - buffer_.get());
  }
  const auto* cr = static_cast<const char*>(std::memchr(from, '\r', nextLf_ - pos_));
  const char* found = cr != nullptr ? cr : nextLf_ < end_ ? buffer_.get() + nextLf_ : nullptr;
  if (found != nullptr && lineEnds_ == LineEnds::kUnknown) {
    lineEnds_ = *found == '\n' ? LineEnds::kCrOrLf : LineEnds::kCr;
  }
  return found;
}

bool LineReader::ReadLine(std::string& line, TailKeys* tail) {
  if (AtEnd()) return false;
  line.clear();
  lastLineCut_ = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) break;
    const char* start = buffer_.get() + pos_;
    const char* stop = FindLineEnd();
    if (stop == nullptr) {
      Take(line, start, end_ - pos_, tail);
      pos_ = end_;
      continue;
    }
    const auto length = static_cast<std::size_t>(stop - start);
    const bool cr = *stop == '\r';
    Take(line, start, length, tail);
    pos_ += length + 1;
    if (cr && (pos_ < end_ || Fill()) && buffer_[pos_] == '\n') ++pos_;
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
