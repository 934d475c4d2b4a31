// SPDX-License-Identifier: GPL-3.0-or-later
// The real lvxview on a virtual X display, driven with xdotool as a person
// would drive it, handing its document to a stand-in e-mail companion.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <filesystem>
#include <functional>
#include <optional>

#include "pdf_check.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = kWaitMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

// Xvfb on a display number it picks itself; ended with the object.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    xvfb_.start(QStringLiteral("Xvfb"),
                {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (!xvfb_.waitForStarted(kWaitMs)) return;
    while (xvfb_.state() == QProcess::Running && !xvfb_.canReadLine()) {
      xvfb_.waitForReadyRead(kWaitMs);
    }
    const QByteArray number = xvfb_.readLine().trimmed();
    if (!number.isEmpty()) name_ = ":" + QString::fromLatin1(number);
  }
  ~VirtualDisplay() {
    xvfb_.terminate();
    if (!xvfb_.waitForFinished(kWaitMs)) xvfb_.kill();
  }
  const QString& name() const { return name_; }

 private:
  QProcess xvfb_;
  QString name_;
};

// lvxview copied into a program folder of its own beside a document
// folder, with its settings file and a stand-in e-mail companion.
struct Viewer {
  lvx::testing::TempDir dir;
  std::string app = dir.path() + "/app";
  std::string docs = dir.path() + "/docs";
  std::string runtime = dir.path() + "/runtime";
  QString display;
  // PATH for the viewer and what it starts; the system's when empty.
  QString path;
  QString scale = QStringLiteral("1");
  QProcess process;

  Viewer() {
    fs::create_directories(app);
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    fs::copy_file(LVXVIEW_BINARY, app + "/lvxview");
    dir.Write("app/lvxview.ini", "ROLLDIR=0\r\n");
    // Records its arguments, then runs until the test lets it end.
    const std::string mail = dir.Write(
        "app/lvxmail",
        "#!/bin/sh\n"
        "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\"\n"
        "mv \"$0.part\" \"$0.args\"\n"
        "i=0; while [ ! -e \"$0.go\" ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done\n");
    fs::permissions(mail, fs::perms::owner_all);
  }
  ~Viewer() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished();
    }
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("WAYLAND_DISPLAY");
    env.insert("DISPLAY", display);
    if (!path.isEmpty()) env.insert("PATH", path);
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    env.insert("CUPS_SERVER", QString::fromStdString(dir.path() + "/no-cups.sock"));
    env.insert("QT_SCALE_FACTOR", scale);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.path() + "/config"));
    return env;
  }

  void Start(const std::string& doc, const QString& scaleFactor) {
    scale = scaleFactor;
    Start(doc);
  }
  void Start(const std::string& doc) {
    process.setProcessEnvironment(Environment());
    process.setWorkingDirectory(QString::fromStdString(docs));
    // What the viewer says (a sanitizer's report) belongs in the test's log.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QString::fromStdString(app + "/lvxview"), {QString::fromStdString(doc)});
  }

  // Runs xdotool on the viewer's display; its standard output.
  QString XDoTool(const QStringList& arguments) const {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
  }

  // The page window, the viewer's only window shown at first.
  QString PageWindow() const {
    QString window;
    WaitFor([&] {
      window = XDoTool({"search", "--onlyvisible", "--pid", QString::number(process.processId())})
                   .section(u'\n', 0, 0);
      return !window.isEmpty();
    });
    return window;
  }

  // Clicks at a point of the page window, in pixels of its client area.
  void Click(const QString& window, int x, int y) const {
    XDoTool({"mousemove", "--window", window, QString::number(x), QString::number(y)});
    XDoTool({"click", "1"});
  }
  void Key(const QString& window, const QString& keys) const {
    XDoTool({"windowfocus", window});
    XDoTool({"key", keys});
  }
  bool Running() { return !process.waitForFinished(0) && process.state() == QProcess::Running; }
  // "&Esci" until the viewer has ended: it ignores the key while busy.
  bool Exit(const QString& window) {
    return WaitFor([&] {
      Key(window, "alt+e");
      return process.waitForFinished(500);
    });
  }

  // What the window shows now, at the screen's pixels.
  QImage Grab(const QString& window) const {
    const QString file = QString::fromStdString(dir.path() + "/shot.png");
    QProcess grabber;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.insert("DISPLAY", display);
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    grabber.setProcessEnvironment(env);
    grabber.start(QStringLiteral(X11_GRAB_BINARY), {window, file});
    if (!grabber.waitForFinished(kWaitMs) || grabber.exitCode() != 0) return {};
    return QImage(file);
  }

  // A second start of lvxview on `doc`: its exit status and the first line
  // of its standard error (a sanitizer's summary may follow it).
  std::pair<int, QString> StartAgain(const std::string& doc) const {
    QProcess second;
    second.setProcessEnvironment(Environment());
    second.setWorkingDirectory(QString::fromStdString(docs));
    second.start(QString::fromStdString(app + "/lvxview"), {QString::fromStdString(doc)});
    second.waitForFinished(kWaitMs);
    const QString said = QString::fromLocal8Bit(second.readAllStandardError());
    return {second.exitCode(), said.left(said.indexOf(u'\n') + 1)};
  }
};

// Each test on a virtual display of its own.
class LvxviewOnADisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("Xvfb").isEmpty() ||
        QStandardPaths::findExecutable("xdotool").isEmpty()) {
      GTEST_SKIP() << "needs Xvfb and xdotool (scripts/install-deps installs them)";
    }
    display_.emplace();
    ASSERT_FALSE(display_->name().isEmpty());
  }

  std::optional<VirtualDisplay> display_;
};

// Marker k of a test document: a filled box at x = 10 + 20 k mm.
std::string Marker(int k) {
  return "*BOX /X:" + std::to_string(10 + 20 * k) + " /Y:20 /W:5 /H:5 /F\r\n";
}

std::string Pages(std::initializer_list<int> markers) {
  std::string text;
  for (const int k : markers) text += (text.empty() ? "" : "*PAGE\r\n") + Marker(k);
  return text;
}

// The marker the page window's grab shows, -1 for none or several. The
// page is drawn at half size, 96 logical pixels to the inch.
int ShownMarker(const QImage& shot) {
  if (shot.isNull()) return -1;
  const double pixelsPerMm = shot.width() / (6911.0 / 15.0) * 96.0 / 25.4;
  int found = -1;
  for (int k = 0; k < 8; ++k) {
    const QPoint at(static_cast<int>((6.25 + 10 * k) * pixelsPerMm),
                    static_cast<int>(11.25 * pixelsPerMm));
    if (qGray(shot.pixel(at)) > 128) continue;
    if (found != -1) return -1;
    found = k;
  }
  return found;
}

TEST_F(LvxviewOnADisplay, EmailCompanionRunsWhileExitWaitsForIt) {
  Viewer viewer;
  viewer.display = display_->name();
  const std::string doc = viewer.dir.Write("docs/a b; touch pwned.lvx",
                                           "*EMAIL /T:vendite@example.com\r\n"
                                           "*BOX /X:20 /Y:20 /W:50 /H:20 /F\r\n");
  viewer.Start(doc);
  const QString window = viewer.PageWindow();
  ASSERT_FALSE(window.isEmpty());

  // "E-&mail" at its place on the button panel.
  viewer.Click(window, 424, 312);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(viewer.app + "/lvxmail.args"); }));
  EXPECT_EQ(lvx::testing::SplitAtNul(lvx::testing::ReadAll(viewer.app + "/lvxmail.args")),
            (std::vector<std::string>{doc, "/T:2"}));
  EXPECT_TRUE(fs::exists(viewer.app + "/lvxview.flg"));
  EXPECT_TRUE(fs::exists(viewer.app + "/scract.sh"));

  // "&Esci" while the companion runs does nothing.
  viewer.Key(window, "alt+e");
  QThread::msleep(1000);
  EXPECT_TRUE(viewer.Running());

  viewer.dir.Write("app/lvxmail.go", "");
  EXPECT_TRUE(WaitFor([&] {
    return !fs::exists(viewer.app + "/lvxview.flg") && !fs::exists(viewer.app + "/scract.sh");
  }));
  // After the wait "&Esci" ends the viewer.
  EXPECT_TRUE(viewer.Exit(window));
  EXPECT_EQ(viewer.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(viewer.process.exitCode(), 0);
  for (const std::string& folder : {viewer.app, viewer.docs}) {
    EXPECT_FALSE(fs::exists(folder + "/pwned.lvx")) << folder;
  }
}

// A stand-in on PATH for a desktop program: records its arguments in
// <path>.args, NUL after each.
void StandIn(const lvx::testing::TempDir& dir, const std::string& name) {
  const std::string script =
      dir.Write("bin/" + name,
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\"\n"
                "mv \"$0.part\" \"$0.args\"\n");
  fs::permissions(script, fs::perms::owner_all);
}

TEST_F(LvxviewOnADisplay, EmailAndCtrlSReachTheRealCompanions) {
  Viewer viewer;
  viewer.display = display_->name();
  for (const char* binary : {LVXMAIL_BINARY, LVXPDF_BINARY}) {
    fs::copy_file(binary, viewer.app + "/" + fs::path(binary).filename().string(),
                  fs::copy_options::overwrite_existing);
  }
  const std::string bin = viewer.dir.path() + "/bin";
  StandIn(viewer.dir, "xdg-email");
  StandIn(viewer.dir, "xdg-open");
  viewer.path = QString::fromStdString(bin + ":/usr/bin:/bin");
  const std::string doc = viewer.dir.Write("docs/Fattura 17; $(x).lvx",
                                           "*EMAIL /T:vendite@example.com\r\n"
                                           "*EMAIL /O:Fattura 17 `id`\r\n"
                                           "*TEXT /X:20 /Y:20 /T:Fattura\r\n");
  viewer.Start(doc);
  const QString window = viewer.PageWindow();
  ASSERT_FALSE(window.isEmpty());

  // "E-&mail": lvxmail makes the PDF and hands the message to xdg-email.
  viewer.Click(window, 424, 312);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(bin + "/xdg-email.args"); }));
  const auto mail = lvx::testing::SplitAtNul(lvx::testing::ReadAll(bin + "/xdg-email.args"));
  ASSERT_EQ(mail.size(), 7U);
  EXPECT_EQ(std::vector<std::string>(mail.begin(), mail.end() - 1),
            (std::vector<std::string>{"--utf8", "--to", "vendite@example.com", "--subject",
                                      "Fattura 17 `id`", "--attach"}));
  EXPECT_EQ(fs::path(mail.back()).parent_path().parent_path(),
            fs::path(viewer.runtime + "/lvx/mail"));
  EXPECT_EQ(fs::path(mail.back()).filename(), "Fattura 17; $(x).pdf");
  EXPECT_EQ(lvx::testing::PdfFaults(mail.back()), "");
  // The viewer is busy until it has looked for the flag file once more.
  ASSERT_TRUE(WaitFor([&] {
    return !fs::exists(viewer.app + "/lvxview.flg") && !fs::exists(viewer.app + "/scract.sh");
  }));

  // Ctrl+S, with the ".pdf" button hidden here: lvxpdf writes the PDF
  // beside the document and opens it.
  viewer.Key(window, "ctrl+s");
  ASSERT_TRUE(WaitFor([&] { return fs::exists(bin + "/xdg-open.args"); }));
  EXPECT_EQ(lvx::testing::SplitAtNul(lvx::testing::ReadAll(bin + "/xdg-open.args")),
            (std::vector<std::string>{viewer.docs + "/Fattura 17; $(x).pdf"}));
  EXPECT_EQ(lvx::testing::PdfFaults(viewer.docs + "/Fattura 17; $(x).pdf"), "");
  EXPECT_TRUE(WaitFor([&] { return !fs::exists(viewer.app + "/lvxview.flg"); }));

  EXPECT_TRUE(viewer.Exit(window));
  EXPECT_EQ(viewer.process.exitCode(), 0);
}

TEST_F(LvxviewOnADisplay, FollowsItsDocumentAndTakesAnotherHandedOver) {
  for (const int scale : {1, 2}) {
    SCOPED_TRACE(scale);
    Viewer viewer;
    viewer.display = display_->name();
    viewer.scale = QString::number(scale);
    const std::string doc = viewer.dir.Write("docs/live.lvx", Pages({0, 1, 2}));
    viewer.Start(doc);
    const QString window = viewer.PageWindow();
    ASSERT_FALSE(window.isEmpty());
    const auto shows = [&](int marker) {
      return WaitFor([&] { return ShownMarker(viewer.Grab(window)) == marker; });
    };
    ASSERT_TRUE(shows(0));
    // "&Pagina avanti".
    viewer.Click(window, 424 * scale, 72 * scale);
    ASSERT_TRUE(shows(1));

    viewer.dir.Write("docs/live.lvx", Pages({3, 4, 5}));
    EXPECT_TRUE(shows(4)) << "rewritten in place";
    viewer.dir.Write("docs/live.lvx.part", Pages({6, 7}));
    fs::rename(viewer.docs + "/live.lvx.part", doc);
    EXPECT_TRUE(shows(7)) << "replaced by a rename";
    fs::remove(doc);
    QThread::msleep(500);
    EXPECT_EQ(ShownMarker(viewer.Grab(window)), 7) << "deleted";
    viewer.dir.Write("docs/live.lvx", Pages({5}));
    EXPECT_TRUE(shows(5)) << "back with one page";

    const std::string other = viewer.dir.Write("docs/other.lvx", Pages({2}));
    const auto [status, said] = viewer.StartAgain("other.lvx");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(said, "lvxview: another viewer is running; other.lvx was handed to it\n");
    EXPECT_TRUE(shows(2)) << "handed over";
    EXPECT_TRUE(viewer.Running());
    viewer.Key(window, "alt+e");
    EXPECT_TRUE(viewer.process.waitForFinished(kWaitMs));
    EXPECT_EQ(viewer.process.exitCode(), 0);
  }
}

// The pixels of the invoice's blue logo in `shot`.
QRect BlueInk(const QImage& shot) {
  QRect bounds;
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      const QRgb pixel = shot.pixel(x, y);
      if (qBlue(pixel) > 120 && qRed(pixel) < 100 && qBlue(pixel) - qGreen(pixel) > 40) {
        bounds |= QRect(x, y, 1, 1);
      }
    }
  }
  return bounds;
}

TEST_F(LvxviewOnADisplay, LogoLandsAtTwiceItsPlaceOnAScreenScaledTwice) {
  QRect logo[2];
  for (const int scale : {1, 2}) {
    SCOPED_TRACE(scale);
    Viewer viewer;
    viewer.display = display_->name();
    fs::create_directories(viewer.docs);
    for (const char* name : {"invoice.lvx", "part-form.lvx", "logo.bmp"}) {
      fs::copy_file(std::string(LVX_EXAMPLES) + "/" + name, viewer.docs + "/" + name);
    }
    viewer.Start(viewer.docs + "/invoice.lvx", QString::number(scale));
    const QString window = viewer.PageWindow();
    ASSERT_FALSE(window.isEmpty());
    QImage shot;
    // The first page is drawn a moment after the window shows.
    EXPECT_TRUE(WaitFor([&] {
      shot = viewer.Grab(window);
      return !shot.isNull() && !BlueInk(shot).isEmpty();
    }));
    // The page window's client area in device pixels.
    EXPECT_EQ(shot.size(), QSize(461, 537) * scale);
    logo[scale - 1] = BlueInk(shot);
    viewer.Key(window, "alt+e");
    EXPECT_TRUE(viewer.process.waitForFinished(kWaitMs));
  }
  // At 1: the logo's 120 by 48 pixels halved, from (150, 10) mm halved;
  // its blue starts a few rows down.
  EXPECT_NEAR(logo[0].left(), 75 * 96 / 25.4, 2.0);
  EXPECT_GE(logo[0].top(), 18);
  EXPECT_LE(logo[0].bottom(), 19 + 24);
  EXPECT_NEAR(logo[0].width(), 60, 2.0);
  EXPECT_NEAR(logo[1].left(), 2 * logo[0].left(), 2.0);
  EXPECT_NEAR(logo[1].top(), 2 * logo[0].top(), 2.0);
  EXPECT_NEAR(logo[1].width(), 2 * logo[0].width(), 2.0);
  EXPECT_NEAR(logo[1].height(), 2 * logo[0].height(), 2.0);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
