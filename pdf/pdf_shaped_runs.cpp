// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf_shaped_runs.h"

#include <utility>

namespace lvx {

void ShapedRuns::MakeRoom(qsizetype characters) {
  const auto needed = static_cast<std::size_t>(characters);
  if (recentCharacters_ + needed > kCharactersPerGeneration) {
    // The recent runs become the older ones; what was older and has not
    // been used since goes.
    older_ = std::move(recent_);
    recent_ = Runs();
    recentCharacters_ = 0;
  }
  recentCharacters_ += needed;
}

const ShapedRun* ShapedRuns::Find(const QString& text) {
  if (const auto found = recent_.constFind(text); found != recent_.cend()) return &found.value();
  const auto old = older_.find(text);
  if (old == older_.end()) return nullptr;
  // Used again: it moves to the recent generation.
  ShapedRun run = std::move(old.value());
  older_.erase(old);
  MakeRoom(text.size());
  return &recent_.insert(text, std::move(run)).value();
}

const ShapedRun& ShapedRuns::Keep(const QString& text, ShapedRun run) {
  if (text.size() > kLongestKept) {
    scratch_ = std::move(run);
    return scratch_;
  }
  MakeRoom(text.size());
  return recent_.insert(text, std::move(run)).value();
}

}  // namespace lvx
