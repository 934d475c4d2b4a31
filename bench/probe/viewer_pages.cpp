// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_pages.h"

#include <filesystem>

namespace lvx::bench {
namespace {

ViewerEnvironment Environment(const std::string& docPath) {
  // No settings file in the program folder: the viewer's defaults.
  const std::string app = std::filesystem::temp_directory_path().string();
  return ViewerEnvironment{app, docPath, std::filesystem::current_path().string(), app};
}

}  // namespace

ViewerPages::ViewerPages(const std::string& docPath, double ratio)
    : session_(Environment(docPath)) {
  session_.LoadDocumentPath();
  document_ = std::make_unique<ViewerDocument>(session_, ratio);
}

}  // namespace lvx::bench
