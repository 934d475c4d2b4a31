// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace lvx {

// A loaded picture as the interpreter sees it: only its own size matters
// here; the view that draws it knows what it holds.
class Picture {
 public:
  virtual ~Picture() = default;
  // Own width and height in hundredths of a millimetre.
  virtual double WidthHmm() const = 0;
  virtual double HeightHmm() const = 0;
};

// Loads picture files for "*IMAGE" records.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // The picture stored at `path` (already looked up), or null when the file
  // is not a picture this loader reads. Never throws.
  virtual std::shared_ptr<const Picture> Load(const std::string& path) = 0;
  // A page starts: what a loader allows one page begins again.
  virtual void StartPage() {}
};

}  // namespace lvx
