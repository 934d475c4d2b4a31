// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>
#include <memory>
#include <string>
#include <vector>

namespace lvx {

// What a companion program runs in: a GUI application for the fonts and
// paint devices of the PDF writer, on the smallest platform that has the
// system's fonts, never a display; Qt says only what is critical, on one
// line under the program's name.
class CompanionApp {
 public:
  explicit CompanionApp(char* programPath);

  // The environment for the desktop programs started from here: this
  // process's own, without the platform chosen for it, so that a PDF viewer
  // or mail program shows its windows.
  std::vector<std::string> ChildEnvironment() const;

  // The folder the program started in, absolute ("/" when it is gone).
  static std::string StartFolder();

 private:
  bool platformChosen_ = false;
  int argc_ = 1;
  char* argv_[2] = {nullptr, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace lvx
