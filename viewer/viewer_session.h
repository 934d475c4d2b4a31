// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "header_records.h"
#include "platform.h"
#include "settings.h"

namespace lvx {

class PageReader;

// Where the viewer runs: taken once at process start.
struct ViewerEnvironment {
  // Folder of the executable, symlinks resolved, without a trailing "/".
  std::string AppFolder;
  // argv[1..] joined with single blanks (GetCommandText).
  std::string CommandText;
  // The process's current folder, without a trailing "/".
  std::string CurrentDir;
  // Where the flag file and the companion script go: AppFolder, or the
  // user's own folder when AppFolder is shared (ProgramFolders).
  std::string WorkFolder;
};

enum class StartupOutcome {
  kShowPageWindow,  // the document is usable: show it
  kOtherInstance,   // another viewer runs: end at once
  kNoDocument,      // no document named, missing or empty: end
};

// Exit status of a process whose start-up ended with `outcome`: 0 when the
// document was shown, 1 without a usable document, 2 beside another viewer.
int ExitStatus(StartupOutcome outcome);

// The page split between the upper and the lower zoom view, in millimetres.
inline constexpr float kHalfPageHeight = 140.0F;

// The state of one viewer process that its windows share: the current
// document, the folder list for browsing, the settings and the header
// fields of the current document. Plain data: it needs no application
// object and outlives the one used by the start-up.
class ViewerSession {
 public:
  explicit ViewerSession(ViewerEnvironment environment);

  // The start-up up to the page window, in its fixed order: claim the
  // single instance (`claimInstance` returns false when another viewer
  // runs, and nothing else happens then), settings and platform, document
  // path, document check, header pre-read, removal of the leftover flag
  // file and companion scripts. Never throws for anything a file holds.
  StartupOutcome StartUp(const std::function<bool()>& claimInstance, const PlatformInfo& platform);

  // Start-up steps, also usable alone.
  void ReadSettings(const PlatformInfo& platform);
  // Sets DocPath, DocFileName and DocFolder from the command line
  // (DocIndex 0) or from DocList[DocIndex]; builds DocList while it is
  // empty, browsing is on and a document is named. A DocIndex outside
  // 1..DocCount goes back to the command line's document. Returns false
  // when DocPath is empty.
  bool LoadDocumentPath();
  // CheckFile of DocPath: kCheckUsable (0), kCheckNoName or kCheckMissing.
  std::int16_t CheckDocument() const;
  void ReadHeaderRecords();
  // Deletes a leftover flag file and companion scripts in WorkFolder.
  void RemoveLeftovers() const;

  // The "<" (-1) and ">" (+1) steps through DocList, wrapping at its ends,
  // with the new document's path and header fields. The caller closes the
  // reader's file first and resets its page state after.
  void StepDocument(int direction);

  // Makes `path` (absolute) the current document as if the command line
  // had named it: its header fields, and a new folder list of its folder
  // when browsing is on. The caller has checked the file.
  void TakeHandedDocument(const std::string& path);

  // Gives `reader` the current document, its folder and the page split.
  void SetUpReader(PageReader& reader) const;

  std::string GetCommandText() const { return commandText_; }
  const std::string& CurrentDir() const { return currentDir_; }

  const std::string ProgName{"lvxview"};
  const std::string ProgVersion{" v.4.8.2"};
  const std::string AppFolder;
  const std::string WorkFolder;
  // WorkFolder + "/lvxview.flg": present while a companion program runs.
  const std::string FlagFilePath;

  // Work text of the parsing: the raw text, then the cleaned path.
  std::string CmdText;
  std::string DocPath;
  // After the last "/" of DocPath; shown in captions.
  std::string DocFileName;
  // Up to and including the last "/" of DocPath, else CurrentDir.
  std::string DocFolder;
  // Entries 1..DocCount, lower case, sorted; entry 0 unused.
  std::vector<std::string> DocList{std::string()};
  std::int16_t DocCount = 0;
  // 0: the command line's document; else its entry in DocList.
  std::int16_t DocIndex = 0;

  ViewerSettings Settings;
  HeaderRecords Header;

  // What start-up found of the document before its check: nothing when
  // missing (or not a regular file), else its size.
  std::optional<std::int64_t> DocSizeBeforeCheck;

 private:
  void BuildDocList();

  std::string commandText_;
  std::string currentDir_;
  // A document handed over by another start or a drop: from then on it
  // stands for the command line's document.
  std::optional<std::string> handedPath_;
};

}  // namespace lvx
