// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_start.h"

#include <QProcess>
#include <QProcessEnvironment>

#include "desktop_editor.h"

namespace lvx {
namespace {

std::optional<ProgramStart> InTerminal(const QStringList& command, const QString& terminal) {
  if (command.isEmpty()) return std::nullopt;
  return ProgramStart{terminal, QStringList{QStringLiteral("-e")} + command};
}

}  // namespace

bool StartDetached(const ProgramStart& start) {
  if (start.program.isEmpty()) return false;
  QProcess process;
  process.setProgram(start.program);
  process.setArguments(start.arguments);
  if (!start.inheritOutput) {
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
  }
  return process.startDetached();
}

EditorSources EditorSources::FromSystem() {
  EditorSources sources;
  sources.LaunchDesktopDefault = LaunchDefaultTextEditor;
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  sources.Visual = env.value(QStringLiteral("VISUAL"));
  sources.Editor = env.value(QStringLiteral("EDITOR"));
  return sources;
}

std::optional<ProgramStart> TerminalEditorStart(const EditorSources& sources, const QString& file) {
  for (const QString& editor : {sources.Visual, sources.Editor}) {
    QStringList command = QProcess::splitCommand(editor);
    if (command.isEmpty()) continue;
    return InTerminal(command << file, sources.Terminal);
  }
  return std::nullopt;
}

bool OpenInEditor(const EditorSources& sources, const QString& file) {
  if (sources.LaunchDesktopDefault && sources.LaunchDesktopDefault(file)) return true;
  const auto start = TerminalEditorStart(sources, file);
  return start && StartDetached(*start);
}

}  // namespace lvx
