// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// Writes a PDF file front to back, object by object: the caller reserves
// object numbers, writes each object once in any order, and Finish adds
// the cross-reference table and the trailer. Only the objects' offsets stay
// in memory, so a long job needs no more memory than a short one. Never
// throws; after a failed write ok() is false and nothing more is written.
class PdfFile {
 public:
  // Creates or truncates the file at `path`.
  explicit PdfFile(const std::string& path);
  // Writes into the empty file open for writing at `fd`, whose offset is
  // at its start; `fd` itself stays open and the caller's.
  explicit PdfFile(int fd);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  bool ok() const { return file_ != nullptr && ok_; }

  // A new object number.
  int Reserve();
  // Writes object `number` with `body` (a dictionary, array or value).
  void WriteObject(int number, std::string_view body);
  // Writes object `number` as a stream of `data`, compressed; `entries` are
  // further dictionary entries ("/Type /XObject ...").
  void WriteStream(int number, std::string_view entries, std::string_view data);
  // As WriteStream, for data that `next` gives part by part: each call
  // replaces its argument with the next part and returns false when none
  // is left. Large data is compressed as it comes and never held whole,
  // at zlib's fastest level (such data are pictures, whose time per page
  // counts more than a few per cent of size); the length follows as an
  // object of its own.
  void WriteStreamParts(int number, std::string_view entries,
                        const std::function<bool(std::string&)>& next);
  // As WriteStream, for data already compressed with Deflate.
  void WriteDeflated(int number, std::string_view entries, std::string_view deflated);
  // Ends the file with the catalog `root` and the document information
  // `info`; true when every byte of the file was written.
  bool Finish(int root, int info);

 private:
  explicit PdfFile(std::FILE* file);
  void Put(std::string_view bytes);
  void StartObject(int number);

  std::FILE* file_ = nullptr;
  bool ok_ = true;
  std::uint64_t offset_ = 0;
  std::vector<std::uint64_t> offsets_;  // by object number - 1; 0 while unwritten
};

// `data` compressed with zlib, as a FlateDecode stream holds it; empty only
// when compression failed.
std::string Deflate(std::string_view data);

}  // namespace lvx
