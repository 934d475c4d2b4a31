// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "temp_dir.h"
#include "viewer_session.h"
#include "viewer_windows.h"

namespace lvx::testing {

// A program folder "app" and a document folder "docs" in a temporary
// folder, and the viewer's windows on a document there, started as the
// program starts them.
struct WindowFixture {
  TempDir dir;
  FakePlatform platform;
  std::string app = dir.path() + "/app";
  std::string docs = dir.path() + "/docs";
  // The session's WorkFolder: the program folder unless a test says else.
  std::string work = app;
  std::unique_ptr<ViewerSession> session;
  std::unique_ptr<ViewerWindows> windows;
  // Stand-ins for the message boxes and the editor look-up: a question is
  // answered with `answer`; what was asked and shown is kept.
  bool answer = true;
  QStringList asked;
  QStringList shown;
  // The page window's Busy each time a message box came up.
  std::vector<int> busyWhenAsked;
  // Runs while a message box is up, when set.
  std::function<void()> whileAsked;
  EditorSources editor;
  // The drawings' device pixel ratio when set, else the screen's.
  std::optional<qreal> devicePixelRatio;

  WindowFixture();
  ~WindowFixture();

  std::string Doc(const std::string& name, const std::string& text) const;
  void Settings(const std::string& iniText) const;
  // Starts the session on `docPath` and, unless told otherwise, the windows.
  void Open(const std::string& docPath, bool startWindows = true);
  // The windows over the session as it stands (after a test changed it).
  void StartWindows();

  PageWindow& page() { return windows->page(); }
  ZoomWindow& zoom(ZoomHalf half) { return windows->zoom(half); }
  ViewerDocument& document() { return windows->document(); }

  // A program in the program folder that records its arguments in
  // `name`.args (each ended by a NUL byte), then runs `then` (shell).
  std::string FakeProgram(const std::string& name, const std::string& then = "") const;
  // The arguments a fake program recorded, or nothing when it has not run.
  std::optional<std::vector<std::string>> Recorded(const std::string& name) const;

  // Clicks the named button of a window as a person would.
  static void Click(QWidget& window, const char* buttonName);
  // Moves the pointer over the page window to (x, y) millimetres.
  void MoveTo(double xMm, double yMm);
  // Clicks the page window's surface where the pointer last was.
  void ClickPage();
};

// The pixel of `image` at page millimetres (x, y) in the page window's
// drawing (half size) or in a zoom window's (210 by 143 units over 779 by
// 540 pixels; the lower window's y counted from 140 mm).
QColor PagePixel(const QImage& image, double xMm, double yMm);
QColor ZoomPixel(const QImage& image, double xMm, double yMm, ZoomHalf half);

bool IsWhite(const QColor& colour);

// One line of a document: a filled box in colour &H00BBGGRR.
std::string FilledBox(double x, double y, double w, double h, const char* colour = "000000");

// Marker k of a test page: a box at x = 10 + 20 k mm in both halves of the
// page, so every drawing tells which page it holds.
std::string Marker(int k);
// The marker the page drawing and both zoom drawings show alike; -1 when
// they differ (a drawing mixes pages) or show none or several.
int ShownMarker(ViewerDocument& document);

}  // namespace lvx::testing
