// SPDX-License-Identifier: GPL-3.0-or-later
// lvxtrace FILE [PAGES]: prints every drawing call the viewer makes for the
// pages of an lvx file, one call per line.
// lvxtrace --png DIR FILE [PAGES]: draws those pages as the viewer's windows
// hold them and writes them to DIR as PNG files.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "command_text.h"
#include "page_pngs.h"
#include "picture_cache.h"
#include "printable_line.h"
#include "trace_run.h"

namespace {

constexpr const char* kUsage =
    "Usage: lvxtrace FILE [PAGES]\n"
    "       lvxtrace --png DIR FILE [PAGES]\n"
    "Prints, page by page, each drawing call the viewer makes for FILE:\n"
    "the main view at half scale, the upper and lower views at full scale.\n"
    "PAGES is the number of page requests (as pressing next page); without\n"
    "it every page of the file is traced once.\n"
    "With --png the pages are drawn instead and written to DIR as\n"
    "page-N-main.png (half-size page at 96 dpi), page-N-upper.png and\n"
    "page-N-lower.png (the zoom windows, 779 by 540 pixels).\n"
    "Unlike the viewer, lvxtrace never deletes an empty FILE.\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

struct Arguments {
  std::optional<std::string> pngDir;
  std::string path;
  std::optional<int> requests;
};

std::optional<Arguments> Parse(int argc, char** argv) {
  Arguments arguments;
  int next = 1;
  if (argc > 1 && std::string(argv[1]) == "--png") {
    if (argc < 4) return std::nullopt;
    arguments.pngDir = argv[2];
    next = 3;
  }
  if (argc - next < 1 || argc - next > 2) return std::nullopt;
  arguments.path = argv[next];
  if (argc - next == 2) {
    char* end = nullptr;
    const long count = std::strtol(argv[next + 1], &end, 10);
    if (*end != '\0' || count < 1 || count > 1000000) return std::nullopt;
    arguments.requests = static_cast<int>(count);
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  if (lvx::AnswerInformationRequest(lvx::GetCommandText(argc, argv), "lvxtrace", LVX_VERSION,
                                    kUsage)) {
    return 0;
  }
  const std::optional<Arguments> arguments = Parse(argc, argv);
  if (!arguments) return Usage();
  // Unlike the viewer, a tracing aid must not delete an empty file.
  std::FILE* probe = std::fopen(arguments->path.c_str(), "rb");
  if (probe == nullptr) {
    std::fprintf(stderr, "lvxtrace: cannot open %s\n", lvx::PrintableLine(arguments->path).c_str());
    return 1;
  }
  std::fclose(probe);

  // Fonts and pictures need a GUI application, but never a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication app(argc, argv);
  lvx::PictureCache pictures;
  if (!arguments->pngDir) {
    for (const std::string& line :
         lvx::TracePages(arguments->path, arguments->requests, &pictures)) {
      std::puts(line.c_str());
    }
    return 0;
  }
  try {
    std::filesystem::create_directories(*arguments->pngDir);
    for (const std::string& written :
         lvx::WritePagePngs(arguments->path, *arguments->pngDir, arguments->requests, &pictures)) {
      std::puts(written.c_str());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "lvxtrace: %s\n", lvx::PrintableLine(error.what()).c_str());
    return 1;
  }
  return 0;
}
