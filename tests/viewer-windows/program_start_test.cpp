// SPDX-License-Identifier: GPL-3.0-or-later
#include "program_start.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QTest>

#include "temp_dir.h"

namespace lvx {
namespace {

std::string Words(const std::optional<ProgramStart>& start) {
  if (!start) return "(none)";
  QStringList words{start->program};
  words += start->arguments;
  return words.join(u'|').toStdString();
}

TEST(TerminalEditorStart, VisualThenEditorInATerminal) {
  const QString file = QStringLiteral("/docs/a b.lvx");
  const struct {
    const char* visual;
    const char* editor;
    const char* words;
  } rows[] = {
      {"vim -p", "ed", "term|-e|vim|-p|/docs/a b.lvx"},
      {"", "nano", "term|-e|nano|/docs/a b.lvx"},
      {"\"/opt/My Editor/ed\" -R", "", "term|-e|/opt/My Editor/ed|-R|/docs/a b.lvx"},
      {"   ", "nano", "term|-e|nano|/docs/a b.lvx"},
      {"", "", "(none)"},
  };
  for (const auto& row : rows) {
    EditorSources sources;
    sources.Visual = QString::fromUtf8(row.visual);
    sources.Editor = QString::fromUtf8(row.editor);
    sources.Terminal = QStringLiteral("term");
    EXPECT_EQ(Words(TerminalEditorStart(sources, file)), row.words) << row.visual;
  }
}

TEST(OpenInEditor, DesktopDefaultFirstThenTheTerminalOne) {
  const struct {
    bool hasDesktop;
    bool desktopStarts;
    const char* visual;
    bool terminalTried;
    bool opened;
  } rows[] = {
      {true, true, "vi", false, true},
      {true, false, "vi", true, true},
      {false, false, "vi", true, true},
      {true, false, "", false, false},
  };
  for (const auto& row : rows) {
    testing::TempDir dir;
    const std::string marker = dir.path() + "/terminal";
    const std::string terminal =
        dir.Write("term", "#!/bin/sh\ntouch \"$(dirname \"$0\")/terminal\"\n");
    QFile::setPermissions(QString::fromStdString(terminal), QFile::ReadOwner | QFile::ExeOwner);
    QStringList desktopFiles;
    EditorSources sources;
    if (row.hasDesktop) {
      sources.LaunchDesktopDefault = [&](const QString& file) {
        desktopFiles << file;
        return row.desktopStarts;
      };
    }
    sources.Visual = QString::fromUtf8(row.visual);
    sources.Terminal = QString::fromStdString(terminal);
    EXPECT_EQ(OpenInEditor(sources, QStringLiteral("/docs/f.lvx")), row.opened);
    EXPECT_EQ(desktopFiles, row.hasDesktop ? QStringList{"/docs/f.lvx"} : QStringList{});
    EXPECT_EQ(QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(marker)); },
                              row.terminalTried ? 5000 : 200),
              row.terminalTried);
  }
}

// What a started program wrote to this process's standard output and error,
// read once it has ended: the pipe stands in for a terminal or a test runner.
std::string OutputReaching(ProgramStart start, const std::string& endMarker) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "(no pipe)";
  const int savedOut = dup(STDOUT_FILENO);
  const int savedErr = dup(STDERR_FILENO);
  dup2(pipeEnds[1], STDOUT_FILENO);
  dup2(pipeEnds[1], STDERR_FILENO);
  const bool started = StartDetached(start);
  dup2(savedOut, STDOUT_FILENO);
  dup2(savedErr, STDERR_FILENO);
  close(savedOut);
  close(savedErr);
  close(pipeEnds[1]);
  if (!started) {
    close(pipeEnds[0]);
    return "(not started)";
  }
  if (!QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(endMarker)); })) {
    close(pipeEnds[0]);
    return "(did not end)";
  }
  // Reads up to end of file: a program still holding the pipe would keep
  // this waiting, which is the fault this guards against.
  std::string output;
  char buffer[256];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
  close(pipeEnds[0]);
  return output;
}

TEST(StartDetached, OutputGoesNowhereUnlessAsked) {
  const struct {
    bool inherit;
    const char* output;
  } rows[] = {
      {false, ""},
      {true, "out\nerr\n"},
  };
  for (const auto& row : rows) {
    testing::TempDir dir;
    const std::string marker = dir.path() + "/ended";
    ProgramStart start{
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2; touch \"$0\""),
         QString::fromStdString(marker)},
        row.inherit};
    EXPECT_EQ(OutputReaching(start, marker), row.output) << row.inherit;
  }
}

TEST(StartDetached, NothingToStartIsNoStart) {
  EXPECT_FALSE(StartDetached({}));
  EXPECT_FALSE(StartDetached({QStringLiteral("/nonexistent/lvx-no-such-program"), {}}));
}

}  // namespace
}  // namespace lvx
