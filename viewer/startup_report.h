// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "viewer_session.h"

namespace lvx {

// The absolute path of the document a start names, for handing it to the
// running viewer: relative paths are taken from the start's current folder.
// Empty when none is named. Reads nothing on disk.
std::string HandedDocumentPath(ViewerSession& session);

// The one line (without its end) that a viewer ending without a window
// writes on standard error: why it ends. `handedOver` tells whether a
// running viewer took the document. Empty for a viewer that was shown.
std::string StartupReport(StartupOutcome outcome, const ViewerSession& session, bool handedOver);

}  // namespace lvx
