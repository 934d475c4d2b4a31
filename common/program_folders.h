// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace lvx {

// The file whose presence marks a program folder as shared by the users of
// the machine. The install puts it beside the programs.
inline constexpr const char* kSharedFolderMark = "shared-folder";

// Where the programs keep the files they write. A program folder of its own
// (the user may write to it and it holds no kSharedFolderMark, such as a
// build folder or a copied program folder) keeps them beside the programs.
// Any other program folder is shared, and each user's files go to folders of
// that user's own; when those cannot be found (no home folder), the program
// folder stays the place, as it is for a folder of its own.
struct ProgramFolders {
  std::string AppFolder;  // the folder of the programs, without a trailing "/"
  bool shared = false;
  // Where lvxprint.ini is written: AppFolder, or $XDG_CONFIG_HOME/lvx
  // (~/.config/lvx).
  std::string settingsFolder;
  // Where the viewer's flag file and companion script go: AppFolder, or
  // $XDG_RUNTIME_DIR/lvx, else $XDG_STATE_HOME/lvx (~/.local/state/lvx).
  std::string workFolder;
};

// What the choice looks at. Tests put in their own: root passes every
// access check, so only a replaced check shows a test a folder it may not
// write to.
struct FolderProbe {
  // True when the user may create files in the folder.
  std::function<bool(const std::string& folder)> writable;
  // The value of an environment variable; empty when it is not set.
  std::function<std::string(const char* name)> variable;

  // access(2) and the process environment; HOME, when not set, is the
  // home folder of the user database.
  static FolderProbe FromSystem();
};

// The folders for the programs in `appFolder`. Relative XDG_* values are
// ignored, as the base directory rules say. Creates nothing. Never throws
// (short of memory).
ProgramFolders FindProgramFolders(const std::string& appFolder,
                                  const FolderProbe& probe = FolderProbe::FromSystem());

// The user's own folder for files that live only while a run lasts:
// $XDG_RUNTIME_DIR/lvx, else $XDG_STATE_HOME/lvx (~/.local/state/lvx);
// empty when none of them is known. Creates nothing. Never throws.
std::string UserRunFolder(const FolderProbe& probe = FolderProbe::FromSystem());

// Creates `folder` and its missing parents, the new ones open to their
// owner only. True when `folder` is a folder afterwards. Never throws.
bool MakeFolders(const std::string& folder);

}  // namespace lvx
