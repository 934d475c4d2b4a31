// SPDX-License-Identifier: GPL-3.0-or-later
// How the shown document follows its file on disk and takes documents
// handed to the viewer.
#include "check_file.h"
#include "file_identity.h"
#include "viewer_document.h"

namespace lvx {

bool ViewerDocument::DocumentPresent() const {
  // An empty file is most often one being rewritten: it is no document yet,
  // and nothing here deletes it.
  const auto identity = IdentityOfPath(session_.DocPath);
  return identity && identity->size > 0;
}

bool ViewerDocument::FollowChange() {
  const auto onDisk = IdentityOfPath(session_.DocPath);
  if (!onDisk || onDisk->size == 0 || onDisk == reader_.Version()) return false;
  const int wanted = pageOrdinal_ < 1 ? 1 : pageOrdinal_;
  followingChange_ = true;
  reader_.CloseFiles();
  reader_.ResetPageState();
  session_.ReadHeaderRecords();
  pageOrdinal_ = 0;
  for (int page = 1; page <= wanted; ++page) {
    ClearAll();
    reader_.ReadPage();
    pageOrdinal_ = reader_.StartedFile ? 1 : pageOrdinal_ + 1;
    // Back at page 1: the new version has fewer pages, or changed again.
    if (page > 1 && pageOrdinal_ == 1) break;
  }
  followingChange_ = false;
  // A version that changed again during the walk has its own header.
  if (reader_.VersionChanged) session_.ReadHeaderRecords();
  emit DocumentChanged();
  emit PageDrawn();
  return true;
}

bool ViewerDocument::OpenHandedDocument(const std::string& path) {
  if (CheckFile(path) != kCheckUsable) return false;
  reader_.CloseFiles();
  session_.TakeHandedDocument(path);
  ShowNewDocument();
  return true;
}

}  // namespace lvx
