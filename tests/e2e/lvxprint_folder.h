// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcessEnvironment>
#include <map>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace lvx::testing {

// What a run of a program left.
struct RunResult {
  int status = -1;  // -1 when it crashed or did not end
  std::string out;
  std::string err;
};

// A program folder "app" holding a copy of lvxprint (and so its own
// lvxprint.ini), a document folder "docs" and a runtime folder, in one
// temporary folder. Runs have no display and, unless told otherwise, no
// printer scheduler.
struct LvxPrintFolder {
  LvxPrintFolder();

  std::string Doc(const std::string& name, const std::string& bytes) const {
    return dir.Write("docs/" + name, bytes);
  }
  void Settings(const std::string& bytes) const { dir.Write("app/lvxprint.ini", bytes); }
  std::string SettingsPath() const { return app + "/lvxprint.ini"; }

  // Runs lvxprint with `arguments` from the folder `from` (the document
  // folder by default), with the variables of `extra` set (an empty value
  // removes a variable).
  RunResult Run(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& extra = {},
                const std::string& from = {}) const;

  // Copies the program at `source` into the program folder; its path there.
  std::string AddProgram(const std::string& source) const;
  // Runs the program at `program` as Run runs lvxprint.
  RunResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::map<std::string, std::string>& extra = {},
                       const std::string& from = {}) const;

  // The environment of a run: no display, no platform chosen, a runtime
  // folder of its own, the variables of `extra` set as for Run.
  QProcessEnvironment Environment(const std::map<std::string, std::string>& extra) const;

  TempDir dir;
  std::string app = dir.path() + "/app";
  std::string docs = dir.path() + "/docs";
  std::string runtime = dir.path() + "/runtime";
  std::string binary = app + "/lvxprint";
};

}  // namespace lvx::testing
