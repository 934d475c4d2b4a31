// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup_report.h"

namespace lvx {

std::string HandedDocumentPath(ViewerSession& session) {
  if (!session.LoadDocumentPath()) return {};
  const std::string& path = session.DocPath;
  if (path.front() == '/') return path;
  const std::string& current = session.CurrentDir();
  return current.empty() || current.back() == '/' ? current + path : current + "/" + path;
}

std::string StartupReport(StartupOutcome outcome, const ViewerSession& session, bool handedOver) {
  const std::string& path = session.DocPath;
  switch (outcome) {
    case StartupOutcome::kShowPageWindow:
      return {};
    case StartupOutcome::kOtherInstance:
      if (path.empty()) return "lvxview: another viewer is running";
      if (handedOver) return "lvxview: another viewer is running; " + path + " was handed to it";
      return "lvxview: another viewer is running and did not take " + path;
    case StartupOutcome::kNoDocument:
      break;
  }
  if (path.empty()) return "lvxview: no document given";
  if (!session.DocSizeBeforeCheck) return "lvxview: " + path + ": no such document";
  if (*session.DocSizeBeforeCheck == 0) {
    return "lvxview: " + path + ": the document is empty and was deleted";
  }
  return "lvxview: " + path + ": the document cannot be read";
}

}  // namespace lvx
