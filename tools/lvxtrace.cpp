// SPDX-License-Identifier: GPL-3.0-or-later
// lvxtrace FILE [PAGES]: prints every drawing call the viewer makes for the
// pages of an lvx file, one call per line.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "trace_run.h"

namespace {

int Usage() {
  std::fputs(
      "usage: lvxtrace FILE [PAGES]\n"
      "Prints, page by page, each drawing call the viewer makes for FILE:\n"
      "the main view at half scale, the upper and lower views at full scale.\n"
      "PAGES is the number of page requests (as pressing next page); without\n"
      "it every page of the file is traced once.\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) return Usage();
  const std::string path = argv[1];
  std::optional<int> requests;
  if (argc == 3) {
    char* end = nullptr;
    const long count = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || count < 1 || count > 1000000) return Usage();
    requests = static_cast<int>(count);
  }
  // Unlike the viewer, a tracing aid must not delete an empty file.
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) {
    std::fprintf(stderr, "lvxtrace: cannot open %s\n", path.c_str());
    return 1;
  }
  std::fclose(probe);
  for (const std::string& line : lvx::TracePages(path, requests)) std::puts(line.c_str());
  return 0;
}
