// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "file_identity.h"
#include "line_reader.h"
#include "scanner.h"
#include "split_view_handlers.h"

namespace lvx {

// Draws a document one page per request onto SplitViews. The document stays
// open between requests and each request goes on where the previous stopped:
// at "*PAGE" (the next page starts with the merge of that record's "/N:"
// file), at "#EOD" (the next document of the file starts at page 1) or at
// the end of the file (the next request starts again at page 1).
class PageReader {
 public:
  PageReader(SplitViews views, PictureLoader* loader);

  // The document to read and the folder its merged files and pictures are
  // taken from. Does not close or reset anything.
  void SetDocument(std::string docPath, std::string docFolder);

  // Draws the next page. The caller clears the views before each call.
  // A page never mixes two versions of the document: when the file is no
  // longer the one the previous request read, or changes while this one
  // reads, the request starts again at the first page of the version on
  // disk. A failed read of the document ends the request as a document that
  // cannot be opened does: the views are left clear, and the next request
  // starts again at page 1. Never throws for anything a file holds.
  void ReadPage();

  // Closes the document; with ResetPageState the next request draws page 1.
  void CloseFiles() { channel_.Close(); }
  void ResetPageState() { PageNumber = PageBreakPending = DocumentEnded = 0; }

  bool IsOpen() const { return channel_.IsOpen(); }
  SplitViewHandlers& handlers() { return handlers_; }
  RecordScanner& scanner() { return scanner_; }

  // Page state, kept between requests.
  std::int16_t PageNumber = 0;
  std::int16_t PageBreakPending = 0;
  std::int16_t DocumentEnded = 0;
  std::string DocLine;
  // Set by a request that went from the file's last document (ended by
  // "#EOD") straight back to its first page.
  bool WrappedToStart = false;
  // Set by a request that opened the document: it drew the file's first page.
  bool StartedFile = false;
  // Set by a request that found a new version of the document and started
  // again at its first page.
  bool VersionChanged = false;

  // The version of the document the last request read from, kept after
  // the file is closed; nothing before the first read.
  const std::optional<FileIdentity>& Version() const { return version_; }

 private:
  // One line of the reading loop; false when the request ends on it.
  bool InterpretLine();
  void ReadPageOfOneVersion();
  // Whether the file on disk is still the version this reader read.
  bool SameVersionOnDisk() const;
  void RestartAtNewVersion();
  void WrapToFirstPage();
  void AbandonPage();

  SplitViews views_;
  RecordScanner scanner_;
  SplitViewHandlers handlers_;
  LineReader channel_;
  PictureLoader* loader_;
  PageBudget budget_;
  FolderListings listings_;
  TailKeys docLineTail_;
  bool docLineCut_ = false;
  std::string docPath_;
  std::string docFolder_;
  std::optional<FileIdentity> version_;
};

}  // namespace lvx
