// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace lvx {

// Opens `file` in the desktop's default application for plain text, as the
// desktop's own launcher would (desktop entries in the XDG data folders and
// their subfolders, TryExec and Hidden honoured, the choice in
// mimeapps.list). The file reaches the editor as one argument; the editor
// writes its output to /dev/null, not to the viewer's. False when no
// default application is set or it could not be started. Never throws.
bool LaunchDefaultTextEditor(const QString& file);

}  // namespace lvx
