// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lvx {

// A program to start and its arguments, each one argument whatever it
// holds: no shell ever sees them.
struct ProgramStart {
  QString program;
  QStringList arguments;
  // A started program's output goes nowhere unless this asks for the
  // viewer's own: one that outlives the viewer would otherwise hold the
  // terminal or pipe that started the viewer.
  bool inheritOutput = false;
};

// Starts the program as a process of its own and does not wait for it.
// False when it could not be started. Never throws.
bool StartDetached(const ProgramStart& start);

// Where the text editor of "&Modifica" is looked up: the desktop's default
// application for plain text, else $VISUAL, else $EDITOR, the last two in
// a terminal.
struct EditorSources {
  // The desktop entry id of the default application for text/plain
  // ("org.example.Editor.desktop"), or empty.
  std::function<QString()> DefaultTextApplication;
  // Folders holding desktop entries, looked at in order.
  QStringList ApplicationDirs;
  QString Visual;
  QString Editor;
  QString Terminal = QStringLiteral("x-terminal-emulator");

  // The desktop's: `xdg-mime query default text/plain`, the XDG data
  // folders, the environment.
  static EditorSources FromSystem();
};

// How to open `file` in the text editor, or nothing when no editor is
// known.
std::optional<ProgramStart> EditorStart(const EditorSources& sources, const QString& file);

// The start of a desktop entry's Exec line for `file`: its words unquoted
// as desktop entries quote them, %f %F %u %U replaced by the file (the file
// added at the end when the line names none), the other field codes
// dropped, in `terminal` when the entry asks for one. Nothing for an entry
// without an Exec line.
std::optional<ProgramStart> DesktopEntryStart(const QString& entryText, const QString& file,
                                              const QString& terminal);

}  // namespace lvx
