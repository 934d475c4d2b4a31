// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "cp1252.h"

namespace lvx {
namespace {

enum class Kind { kMissing, kFile, kFolder, kOther };

Kind KindOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return Kind::kMissing;
  if (S_ISREG(st.st_mode)) return Kind::kFile;
  if (S_ISDIR(st.st_mode)) return Kind::kFolder;
  return Kind::kOther;
}

// The entry of `folder` whose name equals `name` ignoring case; the first in
// byte order when several do.
std::optional<std::string> CaseInsensitiveEntry(const std::string& folder, std::string_view name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  const std::string wanted = UpperCase1252(name);
  std::vector<std::string> matches;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view entryName(entry->d_name);
    if (entryName.size() == name.size() && UpperCase1252(entryName) == wanted) {
      matches.emplace_back(entryName);
    }
  }
  ::closedir(dir);
  if (matches.empty()) return std::nullopt;
  return *std::min_element(matches.begin(), matches.end());
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

std::string_view WithoutTrailingBlanks(std::string_view path) {
  const auto last = path.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

// Walks the path component by component, taking the case-insensitive match
// wherever the exact component is missing.
std::optional<std::string> FindByComponents(std::string_view path) {
  std::string current = path.front() == '/' ? "/" : "";
  std::size_t start = path.front() == '/' ? 1 : 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view component = path.substr(start, end - start);
    const bool last = end == path.size();
    if (!component.empty()) {
      std::string candidate = Join(current, component);
      if (KindOf(candidate) == Kind::kMissing) {
        auto match = CaseInsensitiveEntry(current, component);
        if (!match) return std::nullopt;
        candidate = Join(current, *match);
      }
      current = std::move(candidate);
    }
    if (last) break;
    start = end + 1;
  }
  if (KindOf(current) != Kind::kFile) return std::nullopt;
  return current;
}

}  // namespace

std::optional<std::string> FindFile(std::string_view path) {
  const std::string_view trimmed = WithoutTrailingBlanks(path);
  if (trimmed.empty()) return std::nullopt;
  const std::string exact(trimmed);
  const Kind kind = KindOf(exact);
  if (kind == Kind::kFile) return exact;
  if (kind != Kind::kMissing) return std::nullopt;
  return FindByComponents(trimmed);
}

std::string LocalSeparators(std::string_view name) {
  std::string out(name);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

bool HasSeparator(std::string_view name) {
  return name.find_first_of("/\\") != std::string_view::npos;
}

}  // namespace lvx
