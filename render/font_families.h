// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <optional>

namespace lvx {

// Decides which installed family a document's font name stands for, the
// way fontconfig does: the family itself when it is installed, or a face
// that fontconfig binds to the name as metric-compatible ("Arial" gives
// "Liberation Sans"). A name that would only get a generic fallback has
// none. Answers are remembered, up to a bounded number of names.
class FontFamilies {
 public:
  // The family to draw `name` with, or nothing when no real or
  // metric-compatible face exists. Never throws.
  std::optional<QString> Resolve(const QString& name);

 private:
  QHash<QString, std::optional<QString>> known_;
};

}  // namespace lvx
