// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's default text editor, looked up by GIO in private XDG
// folders holding the desktop entries each case writes.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "temp_dir.h"

namespace lvx {
namespace {

namespace fs = std::filesystem;

// A desktop entry for the stand-in editor, which records its arguments,
// `extra` added to the main group.
std::string Entry(const std::string& standIn, const std::string& name,
                  const std::string& extra = "") {
  return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + standIn +
         " --entry=" + name + " %f\nMimeType=text/plain;\n" + extra;
}

struct Desktop {
  testing::TempDir dir;
  std::string standIn = dir.path() + "/bin/stand-in editor";
  std::string record = dir.path() + "/args";
  // A name with blanks, quotes and a dollar: one argument all the same.
  std::string doc = dir.Write("docs/my docs/a \"b\" 'c' $HOME.lvx", "x\r\n");

  Desktop() {
    // Writes to its output first: an inherited output would hold that.
    dir.Write("bin/stand-in editor",
              "#!/bin/sh\necho out; echo err >&2\nfor a; do printf '%s\\0' \"$a\"; done > '" +
                  record + ".part'\nmv '" + record + ".part' '" + record + "'\n");
    fs::permissions(standIn, fs::perms::owner_all);
  }

  // Runs the look-up with `mimeDefault` as the user's default for plain
  // text; its exit code, -1 when it did not finish.
  int Launch(const std::string& mimeDefault) {
    dir.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=" + mimeDefault + "\n");
    QProcess probe;
    QProcessEnvironment env;
    const QString root = QString::fromStdString(dir.path());
    env.insert("HOME", root);
    env.insert("PATH", "/usr/bin:/bin");
    env.insert("XDG_DATA_HOME", root + "/data");
    env.insert("XDG_DATA_DIRS", root + "/sysdata");
    env.insert("XDG_CONFIG_HOME", root + "/config");
    env.insert("XDG_CONFIG_DIRS", root + "/sysconfig");
    probe.setProcessEnvironment(env);
    probe.setStandardOutputFile(root + "/output");
    probe.setStandardErrorFile(root + "/output", QIODevice::Append);
    probe.start(EDITOR_PROBE, {QString::fromStdString(doc)});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit) return -1;
    return probe.exitCode();
  }

  std::vector<std::string> Recorded() const {
    if (!QTest::qWaitFor([&] { return fs::exists(record); }, 5000)) return {};
    std::vector<std::string> args;
    const std::string bytes = testing::ReadAll(record);
    for (size_t start = 0, end; (end = bytes.find('\0', start)) != std::string::npos;
         start = end + 1) {
      args.push_back(bytes.substr(start, end - start));
    }
    return args;
  }
};

TEST(DesktopEditor, DefaultEntryAsTheDesktopLauncherFindsIt) {
  const struct {
    const char* name;
    // Entries by path under the temporary folder; the stand-in's place and
    // the entry name fill in.
    std::vector<std::pair<std::string, std::string>> entries;
    const char* mimeDefault;
    // The entry that started the editor, or empty for none.
    const char* started;
  } rows[] = {
      {"entry in a subfolder, id with a dash",
       {{"data/applications/kde/foo.desktop", ""}},
       "kde-foo.desktop",
       "kde/foo"},
      {"system entry", {{"sysdata/applications/plain.desktop", ""}}, "plain.desktop", "plain"},
      {"TryExec names a missing program",
       {{"data/applications/tryexec.desktop", "TryExec=/nonexistent/lvx-no-editor\n"}},
       "tryexec.desktop",
       ""},
      {"TryExec missing, the next default starts",
       {{"data/applications/tryexec.desktop", "TryExec=/nonexistent/lvx-no-editor\n"},
        {"data/applications/plain.desktop", ""}},
       "tryexec.desktop;plain.desktop;",
       "plain"},
      {"user's Hidden entry deletes the system's",
       {{"sysdata/applications/gone.desktop", ""},
        {"data/applications/gone.desktop", "Hidden=true\n"}},
       "gone.desktop",
       ""},
      {"NoDisplay still opens",
       {{"data/applications/quiet.desktop", "NoDisplay=true\n"}},
       "quiet.desktop",
       "quiet"},
      {"no entry for the default id", {}, "missing.desktop", ""},
  };
  for (const auto& row : rows) {
    Desktop desktop;
    for (const auto& [path, extra] : row.entries) {
      const std::string name = fs::path(path).parent_path().filename() == "applications"
                                   ? fs::path(path).stem().string()
                                   : fs::path(path).parent_path().filename().string() + "/" +
                                         fs::path(path).stem().string();
      desktop.dir.Write(path, Entry("'" + desktop.standIn + "'", name, extra));
    }
    const bool expected = *row.started != '\0';
    EXPECT_EQ(desktop.Launch(row.mimeDefault), expected ? 0 : 1) << row.name;
    if (!expected) {
      EXPECT_FALSE(fs::exists(desktop.record)) << row.name;
      continue;
    }
    EXPECT_EQ(desktop.Recorded(),
              (std::vector<std::string>{std::string("--entry=") + row.started, desktop.doc}))
        << row.name;
    EXPECT_EQ(testing::ReadAll(desktop.dir.path() + "/output"), "") << row.name;
  }
}

}  // namespace
}  // namespace lvx
