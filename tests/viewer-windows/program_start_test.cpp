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

TEST(DesktopEntryStart, ExecLineWithTheFileForItsFieldCode) {
  const QString file = QStringLiteral("/docs/a b.lvx");
  const struct {
    const char* entry;
    const char* words;
  } rows[] = {
      {"[Desktop Entry]\nExec=editor %F\n", "editor|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=editor --new-window %f\n", "editor|--new-window|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=editor\n", "editor|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=\"/opt/My Editor/bin/ed\" --title \"say \\\"hi\\\"\" %U\n",
       "/opt/My Editor/bin/ed|--title|say \"hi\"|file:///docs/a b.lvx"},
      {"[Desktop Entry]\nExec=editor %i %c %k 50%% %f\n", "editor|50%|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=vim %F\nTerminal=true\n", "x-terminal-emulator|-e|vim|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=\"/opt/a\\\\\\\\b/ed\" a\\sb %f\n", "/opt/a\\b/ed|a|b|/docs/a b.lvx"},
      {"[Desktop Entry]\nName=No program\n", "(none)"},
      {"[Desktop Action new]\nExec=other %f\n[Desktop Entry]\nExec=editor %f\n",
       "editor|/docs/a b.lvx"},
      {"[Desktop Entry]\nExec=editor %f\n[Desktop Action new]\nExec=other %f\n",
       "editor|/docs/a b.lvx"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Words(DesktopEntryStart(QString::fromUtf8(row.entry), file,
                                      QStringLiteral("x-terminal-emulator"))),
              row.words)
        << row.entry;
  }
}

TEST(EditorStart, DesktopDefaultThenVisualThenEditorInATerminal) {
  testing::TempDir dir;
  dir.Write("apps/text.desktop", "[Desktop Entry]\nExec=/usr/bin/stand-in %f\n");
  const QString file = QStringLiteral("/docs/f.lvx");
  const auto sources = [&](const char* defaultId, const char* visual, const char* editor) {
    EditorSources s;
    s.DefaultTextApplication = [defaultId] { return QString::fromUtf8(defaultId); };
    s.ApplicationDirs = {QString::fromStdString(dir.path() + "/none"),
                         QString::fromStdString(dir.path() + "/apps")};
    s.Visual = QString::fromUtf8(visual);
    s.Editor = QString::fromUtf8(editor);
    s.Terminal = QStringLiteral("term");
    return s;
  };
  EXPECT_EQ(Words(EditorStart(sources("text.desktop", "vi", "ed"), file)),
            "/usr/bin/stand-in|/docs/f.lvx");
  EXPECT_EQ(Words(EditorStart(sources("missing.desktop", "vim -p", "ed"), file)),
            "term|-e|vim|-p|/docs/f.lvx");
  EXPECT_EQ(Words(EditorStart(sources("", "", "nano"), file)), "term|-e|nano|/docs/f.lvx");
  EXPECT_EQ(Words(EditorStart(sources("../apps/text.desktop", "", ""), file)), "(none)");
  EXPECT_EQ(Words(EditorStart(sources("", "", ""), file)), "(none)");
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
