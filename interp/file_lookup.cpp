// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_lookup.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <memory>

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

// Calls `take` with each entry name of `folder`; false when it cannot be read.
template <class Take>
bool ForEachEntry(const std::string& folder, Take&& take) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                &::closedir);
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) take(std::string_view(entry->d_name));
  return true;
}

// The entry of `folder` whose name equals `name` ignoring case; the first in
// byte order when several do.
std::optional<std::string> CaseInsensitiveEntry(const std::string& folder, std::string_view name) {
  const std::string wanted = UpperCase1252(name);
  std::optional<std::string> first;
  ForEachEntry(folder, [&](std::string_view entry) {
    if (entry.size() == name.size() && UpperCase1252(entry) == wanted &&
        (!first || entry < *first)) {
      first = std::string(entry);
    }
  });
  return first;
}

constexpr std::int64_t kSettledNs = std::int64_t{2} * 1000000000;

std::int64_t NowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * std::int64_t{1000000000} + now.tv_nsec;
}

std::size_t CountComponents(std::string_view path) {
  std::size_t count = 0;
  bool inName = false;
  for (const char c : path) {
    if (c != '/' && !inName) ++count;
    inName = c != '/';
  }
  return count;
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
std::optional<std::string> FindByComponents(std::string_view path, FolderListings* listings) {
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
        auto match = listings != nullptr ? listings->Match(current, component)
                                         : CaseInsensitiveEntry(current, component);
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

const FolderListings::Listing* FolderListings::Read(const std::string& folder, Listing& scratch) {
  struct stat st {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return nullptr;
  const std::int64_t changedNs = st.st_mtim.tv_sec * std::int64_t{1000000000} + st.st_mtim.tv_nsec;
  const auto found = folders_.find(folder);
  if (found != folders_.end()) {
    if (found->second.changedNs == changedNs && found->second.inode == st.st_ino) {
      return &found->second;
    }
    names_ -= found->second.names.size();
    folders_.erase(found);
  }
  ++folderReads_;
  scratch = Listing{{}, changedNs, st.st_ino};
  const bool read = ForEachEntry(folder, [&](std::string_view name) {
    auto [at, added] = scratch.names.try_emplace(UpperCase1252(name), name);
    if (!added && name < at->second) at->second = std::string(name);
  });
  if (!read) return nullptr;
  // A folder's time moves in clock ticks: one changed just now may change
  // again without its time moving, so its listing is not kept yet.
  const bool settled = NowNs() - changedNs > kSettledNs;
  if (!settled || names_ + scratch.names.size() > kMaxNames) return &scratch;
  names_ += scratch.names.size();
  return &folders_.emplace(folder, std::move(scratch)).first->second;
}

std::optional<std::string> FolderListings::Match(const std::string& folder, std::string_view name) {
  Listing scratch;
  const Listing* listing = Read(folder, scratch);
  if (listing == nullptr) return std::nullopt;
  const auto found = listing->names.find(UpperCase1252(name));
  if (found == listing->names.end()) return std::nullopt;
  return found->second;
}

bool FolderListings::TakeWalk() {
  if (walksLeft_ == 0) return false;
  --walksLeft_;
  return true;
}

std::optional<std::string> FindFile(std::string_view path, FolderListings* listings) {
  const std::string_view trimmed = WithoutTrailingBlanks(path);
  if (trimmed.empty() || CountComponents(trimmed) > kMaxNameComponents) return std::nullopt;
  const std::string exact(trimmed);
  const Kind kind = KindOf(exact);
  if (kind == Kind::kFile) return exact;
  if (kind != Kind::kMissing) return std::nullopt;
  if (listings != nullptr && !listings->TakeWalk()) return std::nullopt;
  return FindByComponents(trimmed, listings);
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
