// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>

namespace lvx::testing {

WindowFixture::WindowFixture() {
  std::filesystem::create_directories(app);
  std::filesystem::create_directories(docs);
  // The windows' places are each test's own.
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path() + "/config"));
}

WindowFixture::~WindowFixture() {
  windows.reset();
  QApplication::processEvents();
}

std::string WindowFixture::Doc(const std::string& name, const std::string& text) const {
  return dir.Write("docs/" + name, text);
}

void WindowFixture::Settings(const std::string& iniText) const {
  dir.Write("app/lvxview.ini", iniText);
}

void WindowFixture::Open(const std::string& docPath, bool startWindows) {
  session = std::make_unique<ViewerSession>(ViewerEnvironment{app, docPath, docs, work});
  ASSERT_EQ(session->StartUp([] { return true; }, platform), StartupOutcome::kShowPageWindow)
      << docPath;
  if (startWindows) StartWindows();
}

void WindowFixture::StartWindows() {
  PageWindowServices services;
  services.AskOkCancel = [this](const QString& title, const QString& text) {
    asked << title << text;
    busyWhenAsked.push_back(windows->page().Busy);
    if (whileAsked) whileAsked();
    return answer;
  };
  services.ShowMessage = [this](const QString& title, const QString& text) {
    shown << title << text;
    busyWhenAsked.push_back(windows->page().Busy);
    if (whileAsked) whileAsked();
  };
  services.Editor = editor;
  windows = std::make_unique<ViewerWindows>(*session, services, devicePixelRatio);
  windows->Start();
}

std::string WindowFixture::FakeProgram(const std::string& name, const std::string& then) const {
  const std::string path =
      dir.Write("app/" + name,
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.args.part\"\n"
                "mv \"$0.args.part\" \"$0.args\"\n" +
                    then + "\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

std::optional<std::vector<std::string>> WindowFixture::Recorded(const std::string& name) const {
  const std::string path = app + "/" + name + ".args";
  if (!std::filesystem::exists(path)) return std::nullopt;
  std::vector<std::string> arguments;
  const std::string bytes = ReadAll(path);
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
    arguments.push_back(bytes.substr(start, end - start));
  }
  return arguments;
}

void WindowFixture::Click(QWidget& window, const char* buttonName) {
  auto* button = window.findChild<QPushButton*>(QString::fromLatin1(buttonName));
  ASSERT_NE(button, nullptr) << buttonName;
  QTest::mouseClick(button, Qt::LeftButton);
}

void WindowFixture::MoveTo(double xMm, double yMm) {
  // At the exact millimetre, between pixels: a pointer reports fractions.
  const QPointF at(xMm * 96.0 / 25.4, yMm * 96.0 / 25.4);
  QMouseEvent move(QEvent::MouseMove, at, page().mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&page(), &move);
}

void WindowFixture::ClickPage() {
  // A press and a release and no movement: the page takes the position of
  // the last movement, whatever the click's own.
  const QPointF at(1.0, 1.0);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, page().mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&page(), &event);
  }
}

QColor PagePixel(const QImage& image, double xMm, double yMm) {
  const double perMm = 96.0 / 25.4 / 2.0;
  return image.pixelColor(static_cast<int>(xMm * perMm), static_cast<int>(yMm * perMm));
}

QColor ZoomPixel(const QImage& image, double xMm, double yMm, ZoomHalf half) {
  const double y = half == ZoomHalf::kLower ? yMm - 140.0 : yMm;
  return image.pixelColor(static_cast<int>(xMm * 779.0 / 210.0),
                          static_cast<int>(y * 540.0 / 143.0));
}

bool IsWhite(const QColor& colour) {
  return colour == QColor(Qt::white);
}

std::string FilledBox(double x, double y, double w, double h, const char* colour) {
  char line[160];
  std::snprintf(line, sizeof line, "*BOX /X:%g /Y:%g /W:%g /H:%g /C:&H00%s /F\r\n", x, y, w, h,
                colour);
  return line;
}

std::string Marker(int k) {
  return FilledBox(10 + 20 * k, 20, 5, 5) + FilledBox(10 + 20 * k, 200, 5, 5);
}

int ShownMarker(ViewerDocument& document) {
  int found = -1;
  for (int k = 0; k < 8; ++k) {
    const double x = 12.5 + 20 * k;
    const bool page = !IsWhite(PagePixel(document.PageDrawing(), x, 22.5));
    const bool upper =
        !IsWhite(ZoomPixel(document.ZoomDrawing(ZoomHalf::kUpper), x, 22.5, ZoomHalf::kUpper));
    const bool lower =
        !IsWhite(ZoomPixel(document.ZoomDrawing(ZoomHalf::kLower), x, 202.5, ZoomHalf::kLower));
    if (page != upper || page != lower) return -1;
    if (!page) continue;
    if (found != -1) return -1;
    found = k;
  }
  return found;
}

}  // namespace lvx::testing
