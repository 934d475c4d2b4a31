// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_pngs.h"

#include <QString>
#include <stdexcept>

#include "page_image.h"
#include "page_reader.h"
#include "trace_run.h"

namespace lvx {

std::vector<std::string> WritePagePngs(const std::string& docPath, const std::string& dir,
                                       std::optional<int> requests, PictureLoader* loader) {
  PageImage main(HalfPagePixels(), ViewScale::Millimetres(kScreenDpi));
  PageImage upper(kZoomClientPixels, ViewScale::Zoom());
  PageImage lower(kZoomClientPixels, ViewScale::Zoom());
  PageReader reader(SplitViews{main.view(), upper.view(), lower.view()}, loader);
  reader.SetDocument(docPath, FolderOf(docPath));

  std::vector<std::string> written;
  int pageIndex = 0;
  const auto write = [&](const PageImage& image, const char* view) {
    const std::string path = dir + "/page-" + std::to_string(pageIndex) + "-" + view + ".png";
    if (!image.image().save(QString::fromStdString(path), "PNG")) {
      throw std::runtime_error("cannot write " + path);
    }
    written.push_back(path);
  };
  RunPageRequests(
      reader, requests,
      [&] {
        main.view().Clear();
        upper.view().Clear();
        lower.view().Clear();
      },
      [&] {
        ++pageIndex;
        write(main, "main");
        write(upper, "upper");
        write(lower, "lower");
      });
  return written;
}

}  // namespace lvx
