// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tail_keys.h"

namespace lvx {

// Reads a text file line by line as bytes. A line ends at CR LF or at a lone
// CR; a lone LF is part of the line, unless the file was written the Linux
// way: when its first LF comes before any CR, an LF ends lines too (with a CR
// just before it). A last line without an end still counts.
// Only regular files open (through FindFile); reading streams through a
// fixed buffer straight from the file descriptor. Never throws.
class LineReader {
 public:
  LineReader() = default;
  ~LineReader() { Close(); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens `path`; false when it names no readable regular file.
  bool Open(std::string_view path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // The open file's descriptor, -1 when none is open.
  int Descriptor() const { return fd_; }

  // True when no byte is left to read (or nothing is open).
  bool AtEnd();
  // True after a read failed (until the next Open or Close): reading then
  // stopped there as at the end, and what was read is not the whole file.
  bool Failed() const { return failed_; }

  // Reads the next line into `line` (reusing its storage); false, with
  // `line` untouched, when the file is exhausted. Of a line longer than
  // kKeptLineBytes only that many bytes are kept, and the rest goes through
  // `tail` when one is given: memory stays bounded whatever the file holds.
  bool ReadLine(std::string& line, TailKeys* tail = nullptr);
  // Whether the line last read was longer than what was kept.
  bool LastLineCut() const { return lastLineCut_; }

  // Byte offset of the next line, and a way back to it. The way the file's
  // lines end is known once a line end was read, so offsets handed out by
  // Offset() read back the same lines.
  std::uint64_t Offset() const { return offset_ - (end_ - pos_); }
  bool Seek(std::uint64_t offset);

 private:
  bool Fill();
  // The first buffered byte from pos_ on that ends a line, or nullptr.
  const char* FindLineEnd();

  // Keeps `bytes` up to the cap; the rest goes to the tail.
  void Take(std::string& line, const char* bytes, std::size_t count, TailKeys* tail);

  // How this file's lines end: decided by its first CR or LF.
  enum class LineEnds { kUnknown, kCr, kCrOrLf };

  int fd_ = -1;
  bool failed_ = false;
  LineEnds lineEnds_ = LineEnds::kUnknown;
  bool lastLineCut_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::uint64_t offset_ = 0;  // file offset just past the buffered bytes
  // Index of the buffer's next LF (end_ when none is left); kNoLf when not
  // looked for since the buffer was filled.
  static constexpr std::size_t kNoLf = static_cast<std::size_t>(-1);
  std::size_t nextLf_ = kNoLf;
};

}  // namespace lvx
