// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// zlib stays out of the header.
struct z_stream_s;

namespace lvx {

// Writes a PDF file front to back, object by object: the caller reserves
// object numbers, writes each object once in any order, and Finish adds
// the cross-reference stream. Objects other than streams are gathered into
// compressed object streams of a bounded number of objects each, as the
// many small page objects of a long job compress well together. Only where
// each object lies and the objects still being gathered stay in memory, so
// a long job needs little more memory than a short one. Never throws; after
// a failed write ok() is false and nothing more is written.
class PdfFile {
 public:
  // Writes into the empty file open for writing at `fd`, whose offset is
  // at its start; `fd` itself stays open and the caller's. A negative `fd`
  // gives a file that is not ok().
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
  // Where an object lies: at `offset` in the file, or, when `packed`, as
  // object `index` of the object stream numbered `offset`.
  struct Entry {
    std::uint64_t offset = 0;
    std::uint32_t index = 0;
    bool packed = false;
    bool written = false;
  };

  void Put(std::string_view bytes);
  // Whether `number` was given by Reserve; the file fails when not.
  bool Reserved(int number);
  void StartObject(int number);
  // Writes the objects gathered so far as an object stream.
  void WritePacked();
  // `data` compressed with zlib; empty when that failed.
  std::string Deflate(std::string_view data);
  // The rows of the cross-reference stream, offsets in `bytes` bytes.
  std::string CrossReference(int bytes) const;

  std::FILE* file_ = nullptr;
  bool ok_ = true;
  std::uint64_t offset_ = 0;
  std::vector<Entry> entries_;  // by object number - 1
  z_stream_s* zip_ = nullptr;   // kept from stream to stream: set up once
  // The object stream being gathered: its number, the numbers and offsets
  // of its objects, and their bodies.
  int packedObject_ = 0;
  std::uint32_t packedCount_ = 0;
  std::string packedIndex_;
  std::string packedBodies_;
};

}  // namespace lvx
