// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "page_reader.h"
#include "picture.h"

namespace lvx {

// Makes the page requests a page window makes on `reader`, which already
// has its document: `clearViews` runs before each request and `pageDone`
// after each one that counts. With `requests` it makes exactly that many;
// without, it stops once the next request would start the file over at
// page 1. Never throws for anything a file holds.
void RunPageRequests(PageReader& reader, std::optional<int> requests,
                     const std::function<void()>& clearViews,
                     const std::function<void()>& pageDone);

// Traces the page requests a viewer makes on the document at `docPath`:
// each request clears the three views and reads one page, as the page
// window does. With `requests` it makes exactly that many; without, it
// stops once the next request would start the file over at page 1. Each
// page begins with a line "page N" (N as the reader counts it), followed by
// one line per drawing call. Never throws for anything a file holds.
std::vector<std::string> TracePages(const std::string& docPath,
                                    std::optional<int> requests = std::nullopt,
                                    PictureLoader* loader = nullptr);

// The folder a document's merged files and pictures are taken from: the
// path up to and including its last "/", or "." when it has none.
std::string FolderOf(const std::string& docPath);

}  // namespace lvx
