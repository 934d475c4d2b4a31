// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cinttypes>

namespace lvx {
namespace {

constexpr std::size_t kFileBuffer = std::size_t{256} << 10;
constexpr std::size_t kDeflateChunk = std::size_t{64} << 10;

// A stream of its own on the file open at `fd`, which stays open.
std::FILE* OwnStream(int fd) {
  const int own = fd < 0 ? -1 : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (own < 0) return nullptr;
  std::FILE* file = ::fdopen(own, "wb");
  if (file == nullptr) ::close(own);
  return file;
}

}  // namespace

PdfFile::PdfFile(const std::string& path) : PdfFile(std::fopen(path.c_str(), "wb")) {}

PdfFile::PdfFile(int fd) : PdfFile(OwnStream(fd)) {}

PdfFile::PdfFile(std::FILE* file) : file_(file) {
  if (file_ == nullptr) return;
  std::setvbuf(file_, nullptr, _IOFBF, kFileBuffer);
  // The comment's high bytes tell transfer programs that the file is binary.
  Put("%PDF-1.6\n%\xE2\xE3\xCF\xD3\n");
}

PdfFile::~PdfFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void PdfFile::Put(std::string_view bytes) {
  if (!ok()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ok_ = false;
  offset_ += bytes.size();
}

int PdfFile::Reserve() {
  offsets_.push_back(0);
  return static_cast<int>(offsets_.size());
}

void PdfFile::StartObject(int number) {
  if (number < 1 || number > static_cast<int>(offsets_.size())) {
    ok_ = false;
    return;
  }
  offsets_[static_cast<std::size_t>(number - 1)] = offset_;
  Put(std::to_string(number) + " 0 obj\n");
}

void PdfFile::WriteObject(int number, std::string_view body) {
  StartObject(number);
  Put(body);
  Put("\nendobj\n");
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

bool PdfFile::Finish(int root, int info) {
  if (!ok()) return false;
  const std::uint64_t xref = offset_;
  Put("xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n");
  char entry[32];
  for (const std::uint64_t offset : offsets_) {
    // An object reserved but never written reads as free.
    std::snprintf(entry, sizeof entry,
                  offset == 0 ? "%010" PRIu64 " 00000 f \n" : "%010" PRIu64 " 00000 n \n", offset);
    Put(entry);
  }
  Put("trailer\n<</Size " + std::to_string(offsets_.size() + 1) + "/Root " + std::to_string(root) +
      " 0 R/Info " + std::to_string(info) + " 0 R>>\nstartxref\n" + std::to_string(xref) +
      "\n%%EOF\n");
  const bool flushed = ok() && std::fflush(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed && ok_;
}

std::string Deflate(std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    return {};
  }
  out.resize(size);
  return out;
}

}  // namespace lvx
