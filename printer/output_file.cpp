// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lvx {

std::string BesidePdfPath(std::string_view docPath) {
  const auto slash = docPath.rfind('/');
  const auto name = slash == std::string_view::npos ? 0 : slash + 1;
  // The extension starts at the name's last dot, unless the name starts
  // with it (".lvx" has none).
  auto dot = docPath.rfind('.');
  if (dot == std::string_view::npos || dot <= name) dot = docPath.size();
  return std::string(docPath.substr(0, dot)) + ".pdf";
}

bool IsCompletePdf(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const bool complete = IsCompletePdf(fd);
  ::close(fd);
  return complete;
}

bool IsCompletePdf(int fd) {
  char tail[32] = {};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  const off_t size = st.st_size;
  const off_t from =
      size > static_cast<off_t>(sizeof tail) ? size - static_cast<off_t>(sizeof tail) : 0;
  const ssize_t got = size > 0 ? ::pread(fd, tail, sizeof tail, from) : 0;
  if (got <= 0) return false;
  std::string_view text(tail, static_cast<std::size_t>(got));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text.ends_with("%%EOF");
}

}  // namespace lvx
