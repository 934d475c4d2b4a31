// SPDX-License-Identifier: GPL-3.0-or-later
// settings_churn FILE SECONDS: rewrites the printer settings file the way
// the picker saves it, alternating 1 and 2 copies, as fast as it can for
// SECONDS, and prints how many times it wrote.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "settings_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: settings_churn FILE SECONDS\n", stderr);
    return 2;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
  long writes = 0;
  while (std::chrono::steady_clock::now() < end) {
    const auto result = lvx::WritePrinterSettings(argv[1], "GenPDF", writes % 2 == 0 ? "1" : "2");
    if (!result.ok) {
      std::fprintf(stderr, "settings_churn: %s\n", result.error.c_str());
      return 1;
    }
    ++writes;
  }
  std::printf("%ld writes\n", writes);
  return 0;
}
