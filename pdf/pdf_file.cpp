// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <utility>

namespace lvx {
namespace {

constexpr std::size_t kFileBuffer = std::size_t{256} << 10;
constexpr std::size_t kDeflateChunk = std::size_t{64} << 10;
// An object stream holds this many objects or bytes at most, so that a
// reader unpacks little to reach one object.
constexpr std::uint32_t kPackedObjects = 200;
constexpr std::size_t kPackedBytes = std::size_t{64} << 10;

// A stream of its own on the file open at `fd`, which stays open.
std::FILE* OwnStream(int fd) {
  const int own = fd < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return nullptr;
  std::FILE* file = ::fdopen(own, "wb");
  if (file == nullptr) ::close(own);
  return file;
}

}  // namespace

PdfFile::PdfFile(int fd) : file_(OwnStream(fd)) {
  if (file_ == nullptr) return;
  std::setvbuf(file_, nullptr, _IOFBF, kFileBuffer);
  // The comment's high bytes tell transfer programs that the file is binary.
  Put("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
}

PdfFile::~PdfFile() {
  if (zip_ != nullptr) {
    deflateEnd(zip_);
    delete zip_;
  }
  if (file_ != nullptr) std::fclose(file_);
}

void PdfFile::Put(std::string_view bytes) {
  if (!ok()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ok_ = false;
  offset_ += bytes.size();
}

int PdfFile::Reserve() {
  entries_.emplace_back();
  return static_cast<int>(entries_.size());
}

bool PdfFile::Reserved(int number) {
  if (number >= 1 && number <= static_cast<int>(entries_.size())) return true;
  ok_ = false;
  return false;
}

void PdfFile::StartObject(int number) {
  if (!Reserved(number)) return;
  entries_[static_cast<std::size_t>(number - 1)] = {offset_, 0, false, true};
  Put(std::to_string(number) + " 0 obj\n");
}

void PdfFile::WriteObject(int number, std::string_view body) {
  if (!Reserved(number) || !ok()) return;
  if (packedObject_ == 0) packedObject_ = Reserve();
  entries_[static_cast<std::size_t>(number - 1)] = {static_cast<std::uint64_t>(packedObject_),
                                                    packedCount_++, true, true};
  packedIndex_ += std::to_string(number);
  packedIndex_ += ' ';
  packedIndex_ += std::to_string(packedBodies_.size());
  packedIndex_ += ' ';
  packedBodies_ += body;
  packedBodies_ += '\n';
  if (packedCount_ >= kPackedObjects || packedBodies_.size() >= kPackedBytes) WritePacked();
}

void PdfFile::WritePacked() {
  if (packedCount_ == 0) return;
  const int number = std::exchange(packedObject_, 0);
  const std::string entries = "/Type/ObjStm/N " + std::to_string(packedCount_) + "/First " +
                              std::to_string(packedIndex_.size());
  packedIndex_ += packedBodies_;
  WriteStream(number, entries, packedIndex_);
  packedCount_ = 0;
  packedIndex_.clear();
  packedBodies_.clear();
}

void PdfFile::WriteStream(int number, std::string_view entries, std::string_view data) {
  const std::string deflated = Deflate(data);
  if (deflated.empty()) ok_ = false;
  WriteDeflated(number, entries, deflated);
}

void PdfFile::WriteStreamParts(int number, std::string_view entries,
                               const std::function<bool(std::string&)>& next) {
  const int length = Reserve();
  z_stream zip{};
  if (deflateInit(&zip, Z_BEST_SPEED) != Z_OK) {
    ok_ = false;
    return;
  }
  StartObject(number);
  Put("<<");
  Put(entries);
  Put("/Filter/FlateDecode/Length " + std::to_string(length) + " 0 R>>\nstream\n");
  const std::uint64_t start = offset_;
  std::string part;
  std::string out(kDeflateChunk, '\0');
  bool more = true;
  int status = Z_OK;
  while (ok() && status == Z_OK) {
    more = more && next(part);
    if (!more) part.clear();
    zip.next_in = reinterpret_cast<Bytef*>(part.data());
    zip.avail_in = static_cast<uInt>(part.size());
    do {
      zip.next_out = reinterpret_cast<Bytef*>(out.data());
      zip.avail_out = static_cast<uInt>(out.size());
      status = deflate(&zip, more ? Z_NO_FLUSH : Z_FINISH);
      Put(std::string_view(out.data(), out.size() - zip.avail_out));
    } while (zip.avail_out == 0 && status == Z_OK);
    if (status == Z_BUF_ERROR) status = Z_OK;  // nothing to do until more comes
  }
  deflateEnd(&zip);
  if (status != Z_STREAM_END) ok_ = false;
  const std::uint64_t size = offset_ - start;
  Put("\nendstream\nendobj\n");
  WriteObject(length, std::to_string(size));
}

void PdfFile::WriteDeflated(int number, std::string_view entries, std::string_view deflated) {
  StartObject(number);
  Put("<<");
  Put(entries);
  Put("/Filter/FlateDecode/Length " + std::to_string(deflated.size()) + ">>\nstream\n");
  Put(deflated);
  Put("\nendstream\nendobj\n");
}

std::string PdfFile::CrossReference(int bytes) const {
  // Rows of a type byte, the offset or object stream in `bytes` bytes, and
  // two bytes of generation or index, each after the byte of PNG's "up"
  // filter: a row differs little from the one above.
  const std::size_t row = 1 + static_cast<std::size_t>(bytes) + 2;
  std::string rows;
  rows.reserve((entries_.size() + 1) * (row + 1));
  std::string previous(row, '\0');
  std::string current(row, '\0');
  const auto add = [&](int type, std::uint64_t field, std::uint32_t last) {
    current[0] = static_cast<char>(type);
    for (int i = 0; i < bytes; ++i) {
      current[static_cast<std::size_t>(bytes - i)] = static_cast<char>(field >> (8 * i));
    }
    current[row - 2] = static_cast<char>(last >> 8);
    current[row - 1] = static_cast<char>(last);
    rows += '\x02';
    for (std::size_t i = 0; i < row; ++i) rows += static_cast<char>(current[i] - previous[i]);
    std::swap(previous, current);
  };
  add(0, 0, 65535);
  // An object reserved but never written reads as free.
  for (const Entry& entry : entries_) {
    add(!entry.written ? 0 : entry.packed ? 2 : 1, entry.offset, entry.index);
  }
  return rows;
}

bool PdfFile::Finish(int root, int info) {
  if (!ok()) return false;
  WritePacked();
  const int number = Reserve();
  const std::uint64_t xref = offset_;
  entries_.back() = {xref, 0, false, true};
  std::uint64_t largest = 0;
  for (const Entry& entry : entries_) largest = std::max(largest, entry.offset);
  int bytes = 1;
  while (bytes < 8 && (largest >> (8 * bytes)) != 0) ++bytes;
  WriteStream(number,
              "/Type/XRef/Size " + std::to_string(entries_.size() + 1) + "/Root " +
                  std::to_string(root) + " 0 R/Info " + std::to_string(info) + " 0 R/W[1 " +
                  std::to_string(bytes) + " 2]/DecodeParms<</Columns " + std::to_string(bytes + 3) +
                  "/Predictor 12>>",
              CrossReference(bytes));
  Put("startxref\n" + std::to_string(xref) + "\n%%EOF\n");
  const bool flushed = ok() && std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed && ok_;
}

std::string PdfFile::Deflate(std::string_view data) {
  if (zip_ == nullptr) {
    zip_ = new z_stream{};
    if (deflateInit(zip_, Z_DEFAULT_COMPRESSION) != Z_OK) {
      delete zip_;
      zip_ = nullptr;
      return {};
    }
  } else if (deflateReset(zip_) != Z_OK) {
    return {};
  }
  std::string out(deflateBound(zip_, static_cast<uLong>(data.size())), '\0');
  zip_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zip_->avail_in = static_cast<uInt>(data.size());
  zip_->next_out = reinterpret_cast<Bytef*>(out.data());
  zip_->avail_out = static_cast<uInt>(out.size());
  if (deflate(zip_, Z_FINISH) != Z_STREAM_END) return {};
  out.resize(zip_->total_out);
  return out;
}

}  // namespace lvx
