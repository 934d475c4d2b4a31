// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace lvx {

// How one run of lvxprint ended.
struct PrintOutcome {
  bool started = true;
  // Why it could not be started (when `started` is false).
  std::string startError;
  // The exit status, or the signal that ended it when `signalled`.
  int status = 0;
  bool signalled = false;
  // What it wrote on standard output and standard error.
  std::string out;
  std::string err;
  std::int64_t elapsedMs = 0;
};

// A desktop notification: a title and one line of text.
struct PrintNotice {
  QString title;
  QString body;
  bool failure = false;

  bool operator==(const PrintNotice&) const = default;
};

// A job handed over quicker than this is its own confirmation.
inline constexpr std::int64_t kQuietPrintMs = 2000;

// What the user is told of a run of lvxprint for the document `docFileName`:
// a failure with lvxprint's one-line reason; the PDF written beside the
// document when no printer is installed, naming the file; a job that took
// longer than `quietMs` with lvxprint's confirmation line; nothing for a
// job handed over at once.
std::optional<PrintNotice> NoticeFor(const PrintOutcome& outcome, const QString& docFileName,
                                     std::int64_t quietMs = kQuietPrintMs);

}  // namespace lvx
