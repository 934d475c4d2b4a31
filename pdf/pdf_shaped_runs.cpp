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
  if (const auto found = recent_.find(text); found != recent_.end()) return &found->second;
  const auto old = older_.find(text);
  if (old == older_.end()) return nullptr;
  // Used again: it moves to the recent generation.
  Runs::node_type node = older_.extract(old);
  MakeRoom(node.key().size());
  return &recent_.insert(std::move(node)).position->second;
}

const ShapedRun& ShapedRuns::Keep(const QString& text, ShapedRun run) {
  if (text.size() > kLongestKept) {
    scratch_ = std::move(run);
    return scratch_;
  }
  MakeRoom(text.size());
  return recent_.insert_or_assign(text, std::move(run)).first->second;
}

}  // namespace lvx
