// SPDX-License-Identifier: GPL-3.0-or-later
// soak_pages FILE REQUESTS: pages forward through FILE as the viewer does,
// drawing every page into the three window images with the program's
// picture cache, and prints the resident memory after every tenth of the
// requests. Memory must stay flat: nothing may grow with the requests.
#include <sys/resource.h>

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "page_image.h"
#include "page_reader.h"
#include "picture_cache.h"
#include "view_scale.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: soak_pages FILE REQUESTS\n", stderr);
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  const std::string doc = argv[1];
  const long requests = std::strtol(argv[2], nullptr, 10);
  // The page window's client area and the zoom windows', as the viewer has them.
  lvx::PageImage main(QSize(461, 537), lvx::ViewScale::Millimetres(lvx::kScreenDpi));
  lvx::PageImage upper(lvx::kZoomClientPixels, lvx::ViewScale::Zoom());
  lvx::PageImage lower(lvx::kZoomClientPixels, lvx::ViewScale::Zoom());
  lvx::PictureCache pictures;
  lvx::PageReader reader(lvx::SplitViews{main.view(), upper.view(), lower.view()}, &pictures);
  reader.SetDocument(doc, FolderOf(doc));
  for (long request = 1; request <= requests; ++request) {
    main.view().Clear();
    upper.view().Clear();
    lower.view().Clear();
    reader.ReadPage();
    if (request % (requests / 10 > 0 ? requests / 10 : 1) == 0) {
      std::printf("requests %ld resident %ld KiB\n", request, ResidentKiB());
      std::fflush(stdout);
    }
  }
  return 0;
}
