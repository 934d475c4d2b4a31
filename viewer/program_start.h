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
  // Opens the file in the desktop's default text editor; false when there
  // is none or it did not start.
  std::function<bool(const QString& file)> LaunchDesktopDefault;
  QString Visual;
  QString Editor;
  QString Terminal = QStringLiteral("x-terminal-emulator");

  // The desktop's: its launcher and the environment.
  static EditorSources FromSystem();
};

// How to open `file` in $VISUAL or else $EDITOR in a terminal, or nothing
// when neither is set.
std::optional<ProgramStart> TerminalEditorStart(const EditorSources& sources, const QString& file);

// Opens `file` in the desktop's default editor, else in the terminal one.
// False when no editor could be started.
bool OpenInEditor(const EditorSources& sources, const QString& file);

}  // namespace lvx
