// SPDX-License-Identifier: GPL-3.0-or-later
#include "trace_run.h"

#include "recording_view.h"

namespace lvx {

std::string FolderOf(const std::string& docPath) {
  const auto slash = docPath.rfind('/');
  return slash == std::string::npos ? std::string(".") : docPath.substr(0, slash + 1);
}

void RunPageRequests(PageReader& reader, std::optional<int> requests,
                     const std::function<void()>& clearViews,
                     const std::function<void()>& pageDone) {
  for (int done = 0; !requests || done < *requests; ++done) {
    clearViews();
    reader.ReadPage();
    // Without a count, every page once: stop before a request that went
    // back to the first page, or after the one that reached the file's end.
    if (!requests && reader.WrappedToStart) break;
    pageDone();
    if (!requests && !reader.IsOpen()) break;
  }
}

std::vector<std::string> TracePages(const std::string& docPath, std::optional<int> requests,
                                    PictureLoader* loader) {
  std::vector<std::string> trace;
  std::vector<std::string> page;
  RecordingView main("main", page);
  RecordingView upper("upper", page);
  RecordingView lower("lower", page);
  PageReader reader(SplitViews{main, upper, lower}, loader);
  reader.SetDocument(docPath, FolderOf(docPath));
  RunPageRequests(
      reader, requests,
      [&] {
        page.clear();
        main.Clear();
        upper.Clear();
        lower.Clear();
      },
      [&] {
        trace.push_back("page " + std::to_string(reader.PageNumber));
        trace.insert(trace.end(), page.begin(), page.end());
      });
  return trace;
}

}  // namespace lvx
