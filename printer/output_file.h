// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lvx {

// The PDF beside a document: same folder and name, ".pdf" in place of the
// name's extension (or added when it has none).
std::string BesidePdfPath(std::string_view docPath);

// The `number`th choice for a PDF that must not replace a file: the path
// itself for 1, else "-<number>" before ".pdf" ("a.pdf", "a-2.pdf", ...).
std::string NumberedPath(std::string_view pdfPath, int number);

// True when the file at `path` is a whole PDF file: it ends with the
// end-of-file mark, so nothing was cut off while writing it.
bool IsCompletePdf(const std::string& path);

// A file being written in the folder of its final place, under a hidden
// temporary name, that reaches its place only when complete: until
// published it is removed on destruction. Never throws.
class PendingFile {
 public:
  enum class Access {
    kAsNewFile,  // the permissions any new file of this process gets
    kOwnerOnly,  // for a job on its way to a printer
  };

  // Creates the temporary file for `target` (which need not exist).
  explicit PendingFile(const std::string& target, Access access = Access::kAsNewFile);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // False, with error() saying why, when the file could not be created.
  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

  // Moves the file to `target`, replacing what is there; false (see
  // error()) when that fails, and then the file stays pending.
  bool Replace(const std::string& target);
  // Moves the file to the first free NumberedPath of `target`, never
  // replacing a file, even one that appears meanwhile; the path it took, or
  // nothing (see error()).
  std::optional<std::string> PublishBeside(const std::string& target);

 private:
  std::string path_;
  std::string error_;
};

}  // namespace lvx
