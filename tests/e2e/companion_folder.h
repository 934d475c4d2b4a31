// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "lvxprint_folder.h"

namespace lvx::testing {

// A program folder with lvxprint, lvxpdf and lvxmail, and a folder "bin"
// of stand-ins for the desktop's programs that comes first on PATH.
struct CompanionFolder : LvxPrintFolder {
  CompanionFolder();

  // A stand-in `name` on PATH that writes its arguments, each ended by a
  // NUL byte, to bin/<name>.args, and then runs `then` (shell text).
  void StandIn(const std::string& name, const std::string& then = "exit 0") const;
  // What the stand-in `name` was given; nothing when it did not run.
  std::optional<std::vector<std::string>> Given(const std::string& name) const;

  RunResult Pdf(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& extra = {}) const;
  RunResult Mail(const std::vector<std::string>& arguments,
                 const std::map<std::string, std::string>& extra = {}) const;

  std::string bin = dir.path() + "/bin";
  std::string lvxpdf;
  std::string lvxmail;
};

}  // namespace lvx::testing
