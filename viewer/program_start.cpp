// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUrl>

namespace lvx {
namespace {

constexpr int kQueryTimeoutMs = 3000;

// The value escapes of desktop entries: \s \n \t \r \\.
QString UnescapeValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
    if (value[i] != u'\\') {
      out += value[i];
      continue;
    }
    // Other escapes belong to the Exec line's own quoting: kept as written.
    switch (next.unicode()) {
      case u's':
        out += u' ';
        break;
      case u'n':
        out += u'\n';
        break;
      case u't':
        out += u'\t';
        break;
      case u'r':
        out += u'\r';
        break;
      case u'\\':
        out += u'\\';
        break;
      default:
        out += value[i];
        continue;
    }
    ++i;
  }
  return out;
}

// The words of an Exec line: blanks separate them, double quotes group
// them, and inside quotes a backslash takes the next character as it is.
QStringList ExecWords(const QString& exec) {
  QStringList words;
  QString word;
  bool inWord = false;
  bool quoted = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (quoted) {
      if (c == u'\\' && i + 1 < exec.size()) {
        word += exec[++i];
      } else if (c == u'"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == u'"') {
      quoted = inWord = true;
    } else if (c == u' ' || c == u'\t') {
      if (inWord) words << word;
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words << word;
  return words;
}

// A word with its field codes expanded; false when it named the file.
bool ExpandWord(const QString& word, const QString& file, QStringList& out) {
  if (word == u"%f" || word == u"%F") {
    out << file;
    return true;
  }
  if (word == u"%u" || word == u"%U") {
    out << QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString();
    return true;
  }
  QString expanded;
  for (qsizetype i = 0; i < word.size(); ++i) {
    if (word[i] != u'%' || i + 1 == word.size()) {
      expanded += word[i];
    } else if (word[++i] == u'%') {
      expanded += u'%';
    }
  }
  if (!expanded.isEmpty()) out << expanded;
  return false;
}

struct DesktopEntry {
  QString exec;
  bool terminal = false;
};

DesktopEntry ReadEntry(const QString& entryText) {
  DesktopEntry entry;
  bool inMainGroup = false;
  for (const QString& rawLine : entryText.split(u'\n')) {
    const QString line = rawLine.trimmed();
    if (line.startsWith(u'[')) {
      inMainGroup = line == u"[Desktop Entry]";
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (!inMainGroup || equals < 0) continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (key == u"Exec") entry.exec = UnescapeValue(value);
    if (key == u"Terminal") entry.terminal = value == u"true";
  }
  return entry;
}

std::optional<ProgramStart> InTerminal(const QStringList& command, const QString& terminal) {
  if (command.isEmpty()) return std::nullopt;
  return ProgramStart{terminal, QStringList{QStringLiteral("-e")} + command};
}

QString QueryDefaultTextApplication() {
  QProcess query;
  query.start(QStringLiteral("xdg-mime"),
              {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
  if (!query.waitForFinished(kQueryTimeoutMs)) {
    query.kill();
    query.waitForFinished();
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
  return QString::fromLocal8Bit(query.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
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
  sources.DefaultTextApplication = QueryDefaultTextApplication;
  for (const QString& dir :
       QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    sources.ApplicationDirs << dir;
  }
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  sources.Visual = env.value(QStringLiteral("VISUAL"));
  sources.Editor = env.value(QStringLiteral("EDITOR"));
  return sources;
}

std::optional<ProgramStart> DesktopEntryStart(const QString& entryText, const QString& file,
                                              const QString& terminal) {
  const DesktopEntry entry = ReadEntry(entryText);
  QStringList command;
  bool namesFile = false;
  for (const QString& word : ExecWords(entry.exec)) {
    if (ExpandWord(word, file, command)) namesFile = true;
  }
  if (command.isEmpty()) return std::nullopt;
  if (!namesFile) command << file;
  if (entry.terminal) return InTerminal(command, terminal);
  return ProgramStart{command.takeFirst(), command};
}

std::optional<ProgramStart> EditorStart(const EditorSources& sources, const QString& file) {
  const QString id = sources.DefaultTextApplication ? sources.DefaultTextApplication() : QString();
  if (!id.isEmpty() && !id.contains(u'/')) {
    for (const QString& dir : sources.ApplicationDirs) {
      QFile entry(QDir(dir).filePath(id));
      if (!entry.open(QIODevice::ReadOnly)) continue;
      if (auto start =
              DesktopEntryStart(QString::fromUtf8(entry.readAll()), file, sources.Terminal)) {
        return start;
      }
    }
  }
  for (const QString& editor : {sources.Visual, sources.Editor}) {
    QStringList command = QProcess::splitCommand(editor);
    if (command.isEmpty()) continue;
    return InTerminal(command << file, sources.Terminal);
  }
  return std::nullopt;
}

}  // namespace lvx
