// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lvx::fuzz {

const std::string& ScratchFolder() {
  // Never destroyed, so the removal at exit can still read it.
  static const std::string* const folder = [] {
    char pattern[] = "/tmp/lvx-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    auto* path = new std::string(pattern);
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return path;
  }();
  return *folder;
}

std::string WriteScratch(std::string_view name, std::string_view bytes) {
  const std::string path = ScratchFolder() + "/" + std::string(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Every coordinate comes from ToNumber, which refuses what a float cannot
// hold; sums of such values may still reach infinity, never NaN.
void CheckingView::DrawRect(float x1, float y1, float x2, float y2, std::int32_t, bool) {
  if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) std::abort();
  ++calls;
}

void CheckingView::MoveTo(float x, float y) {
  if (std::isnan(x) || std::isnan(y)) std::abort();
  ++calls;
}

void CheckingView::PrintText(std::string_view) {
  ++calls;
}

}  // namespace lvx::fuzz
