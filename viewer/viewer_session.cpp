// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_session.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "check_file.h"
#include "command_line.h"
#include "command_text.h"
#include "doc_list.h"
#include "file_identity.h"
#include "file_lookup.h"
#include "page_reader.h"

namespace lvx {
namespace {

// Deletes the file at `path` when it exists; CheckFile itself deletes an
// empty one. A file that cannot be deleted stays, and start-up goes on.
void RemoveIfPresent(const std::string& path) {
  if (CheckFile(path) != kCheckUsable) return;
  if (const auto found = FindFile(path)) ::unlink(found->c_str());
}

}  // namespace

int ExitStatus(StartupOutcome outcome) {
  switch (outcome) {
    case StartupOutcome::kShowPageWindow:
      return 0;
    case StartupOutcome::kNoDocument:
      return 1;
    case StartupOutcome::kOtherInstance:
      return 2;
  }
  return 1;
}

ViewerSession::ViewerSession(ViewerEnvironment environment)
    : AppFolder(std::move(environment.AppFolder)),
      WorkFolder(std::move(environment.WorkFolder)),
      FlagFilePath(WorkFolder + "/" + ProgName + ".flg"),
      commandText_(std::move(environment.CommandText)),
      currentDir_(std::move(environment.CurrentDir)) {}

StartupOutcome ViewerSession::StartUp(const std::function<bool()>& claimInstance,
                                      const PlatformInfo& platform) {
  // Before anything else: a running viewer may be waiting on the flag file
  // and the companion script that the clean-up below would delete.
  if (!claimInstance()) return StartupOutcome::kOtherInstance;
  DocIndex = 0;
  DocCount = 0;
  DocList.assign(1, std::string());
  // Settings come first: the folder list depends on RollDir.
  ReadSettings(platform);
  LoadDocumentPath();
  if (const auto identity = IdentityOfPath(DocPath)) DocSizeBeforeCheck = identity->size;
  if (CheckDocument() != kCheckUsable) return StartupOutcome::kNoDocument;
  ReadHeaderRecords();
  RemoveLeftovers();
  return StartupOutcome::kShowPageWindow;
}

void ViewerSession::ReadSettings(const PlatformInfo& platform) {
  Settings.ReadSettings(AppFolder + "/" + ProgName + ".ini", platform);
}

bool ViewerSession::LoadDocumentPath() {
  DocPath.clear();
  DocFolder.clear();
  DocFileName.clear();
  if (DocIndex < 0 || DocIndex > DocCount) DocIndex = 0;
  // List entries are paths made from real names: only the command line is
  // cleaned, since quotes and "/cmd" are legal in names here.
  if (DocIndex != 0) {
    CmdText = DocList[static_cast<std::size_t>(DocIndex)];
  } else {
    CmdText = handedPath_ ? *handedPath_ : CommandArguments(GetCommandText());
  }
  SplitPath split = SplitDocumentPath(CmdText, currentDir_);
  DocPath = std::move(split.DocPath);
  DocFileName = std::move(split.DocFileName);
  DocFolder = std::move(split.DocFolder);
  if (Settings.RollDir > 0 && DocCount == 0 && !DocPath.empty()) BuildDocList();
  return !DocPath.empty();
}

void ViewerSession::BuildDocList() {
  DocIndex = 0;
  // A document named without a folder lies in the current folder, which
  // comes without a trailing "/": join with one, so that the entries are
  // the documents' paths and the named document is found among them.
  const std::string prefix =
      DocFolder.empty() || DocFolder.back() == '/' ? DocFolder : DocFolder + "/";
  std::string folder = prefix;
  std::error_code error;
  if (!std::filesystem::is_directory(folder.empty() ? "." : folder, error)) {
    // The folder as named differs in letter case from the one on disk.
    if (const auto found = FindFile(DocPath)) {
      const auto parent = std::filesystem::path(*found).parent_path();
      folder = parent.empty() ? std::string() : parent.string() + "/";
    }
  }
  DocList = SortedDocList(prefix, ListDocuments(folder, kMaxDocList));
  DocCount = static_cast<std::int16_t>(DocList.size() - 1);
  DocIndex = FindDocIndex(DocList, prefix + DocFileName);
}

std::int16_t ViewerSession::CheckDocument() const {
  return CheckFile(DocPath);
}

void ViewerSession::ReadHeaderRecords() {
  Header.ReadHeaderRecords(DocPath);
}

void ViewerSession::RemoveLeftovers() const {
  // Left by an earlier run that ended while it waited for a companion.
  RemoveIfPresent(FlagFilePath);
  RemoveIfPresent(WorkFolder + "/scract.sh");
  RemoveIfPresent(WorkFolder + "/scract.bat");
}

void ViewerSession::StepDocument(int direction) {
  if (direction < 0) {
    --DocIndex;
    if (DocIndex < 1) DocIndex = DocCount;
  } else {
    ++DocIndex;
    if (DocIndex > DocCount) DocIndex = 1;
  }
  LoadDocumentPath();
  ReadHeaderRecords();
}

void ViewerSession::TakeHandedDocument(const std::string& path) {
  handedPath_ = path;
  DocIndex = 0;
  DocCount = 0;
  DocList.assign(1, std::string());
  LoadDocumentPath();
  ReadHeaderRecords();
}

void ViewerSession::SetUpReader(PageReader& reader) const {
  reader.SetDocument(DocPath, DocFolder);
  reader.handlers().HalfPageHeight = kHalfPageHeight;
}

}  // namespace lvx
