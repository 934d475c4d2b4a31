// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "program_folders.h"

namespace lvx {

// The folder where lvxmail keeps the PDF files it attaches: "mail" in the
// user's run folder ($XDG_RUNTIME_DIR/lvx, emptied at log-out). Empty when
// the user has no such folder. Creates nothing. Never throws.
std::string MailFolder(const FolderProbe& probe = FolderProbe::FromSystem());

// Makes `mailFolder` when missing, removes whatever earlier runs left in
// it, and makes a new folder for this run's file there, open to its owner
// only. The new folder's path, or empty with `error` saying why. Never
// throws.
std::string FreshRunFolder(const std::string& mailFolder, std::string& error);

}  // namespace lvx
