// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "companion_script.h"
#include "viewer_session.h"

namespace lvx {

// Runs an outside companion program (PDF, e-mail, fax) the way the viewer
// hands a document on: through a shell script that removes the flag file
// when the companion has ended, waiting for that while the windows go on
// handling their events. Every failing step is skipped; nothing throws.
class CompanionRunner {
 public:
  explicit CompanionRunner(const ViewerSession& session);

  // Writes the flag file and the companion script into the session's
  // WorkFolder (a user's own folder is made when missing), starts the
  // script with /bin/sh without waiting for it, waits for the flag file to
  // go, then deletes whatever of the two is left. Returns when the flag
  // file is gone, however long that takes; at once when the flag file could
  // not be written or the script could not be written or started.
  void RunCompanion(const CompanionCommand& command);

  // Returns when the flag file no longer exists, looking every PauseSeconds
  // from a nested event loop: the windows stay usable meanwhile.
  void WaitFlagGone();

  std::string ScriptPath() const;

  std::int16_t PauseSeconds = 2;

 private:
  const ViewerSession& session_;
};

}  // namespace lvx
