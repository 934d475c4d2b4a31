// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_places.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

#include "guarded.h"

namespace lvx {
namespace {

// The strip of a frame that holds its title bar, and how much of it must
// be on a screen for the window to be taken with the pointer.
constexpr int kTitleHeight = 24;
constexpr int kReachableWidth = 64;
constexpr int kGap = 8;

QString UserFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/lvx/lvxview-windows.conf");
}

QList<QRect> AvailableScreens() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    screens << screen->availableGeometry();
  }
  return screens;
}

}  // namespace

bool OnSomeScreen(const QRect& frame, const QList<QRect>& screens) {
  const QRect title(frame.left(), frame.top(), frame.width(), kTitleHeight);
  const int reachable = std::min(kReachableWidth, frame.width());
  return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
    const QRect part = title & screen;
    // The top edge itself must be on the screen: a window hanging from
    // above cannot be taken by its title bar.
    return part.width() >= reachable && part.height() >= kTitleHeight / 2 &&
           frame.top() >= screen.top();
  });
}

QPoint ZoomPlaceBeside(const QRect& page, int panelLeft, QSize zoom, const QRect& screen) {
  const int maxTop = std::max(screen.top(), screen.bottom() + 1 - zoom.height());
  const int top = std::clamp(page.top(), screen.top(), maxTop);
  const int right = page.right() + 1 + kGap;
  if (right + zoom.width() <= screen.right() + 1) return {right, top};
  const int left = page.left() - kGap - zoom.width();
  if (left >= screen.left()) return {left, top};
  // No room on either side: over the page, but never over the buttons.
  return {std::max(screen.left(), panelLeft - kGap - zoom.width()), top};
}

WindowPlaces::WindowPlaces(const QString& file)
    : file_(file.isEmpty() ? UserFile() : file), places_(ReadWindowPlaces(file_)) {}

WindowPlaces::~WindowPlaces() {
  // Places are a convenience: a file that cannot be written costs the
  // user nothing else.
  Guarded([this] {
    bool moved = false;
    for (auto& [object, watched] : watched_) {
      if (watched.window != nullptr && watched.window->isVisible()) moved |= Note(watched);
    }
    if (moved) WriteWindowPlaces(file_, places_);
  });
}

void WindowPlaces::Watch(QWidget& window, QWidget* page, int panelLeft) {
  watched_[&window] = Watched{&window, page, panelLeft, false, std::nullopt};
  window.installEventFilter(this);
}

std::optional<QPoint> WindowPlaces::Stored(const QString& name) const {
  const auto found = places_.find(name);
  if (found == places_.end()) return std::nullopt;
  return found->second;
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
  const auto found = watched_.find(watched);
  if (found == watched_.end()) return false;
  Guarded([&] {
    // The show event comes before the window is mapped: moved now, it
    // appears in its place.
    if (event->type() == QEvent::Show && !found->second.placed) Place(found->second);
    if (event->type() == QEvent::Hide && Note(found->second)) WriteWindowPlaces(file_, places_);
  });
  return false;
}

void WindowPlaces::Place(Watched& watched) {
  QWidget& window = *watched.window;
  watched.placed = true;
  const QSize frame = window.frameGeometry().size();
  if (const auto stored = Stored(window.objectName())) {
    if (OnSomeScreen(QRect(*stored, frame), AvailableScreens())) {
      window.move(*stored);
      return;
    }
  }
  if (watched.page == nullptr || !watched.page->isVisible()) return;
  const QScreen* screen = watched.page->screen();
  if (screen == nullptr) return;
  const QRect page = watched.page->frameGeometry();
  const int panelLeft = watched.page->mapToGlobal(QPoint(watched.panelLeft, 0)).x();
  const QPoint beside = ZoomPlaceBeside(page, panelLeft, frame, screen->availableGeometry());
  window.move(beside);
  watched.placedAt = beside;
}

bool WindowPlaces::Note(const Watched& watched) {
  if (watched.window == nullptr || !watched.placed) return false;
  const QPoint at = watched.window->pos();
  // A place this object chose is not the user's: it is worked out again.
  if (watched.placedAt == at) return false;
  const auto [stored, added] = places_.try_emplace(watched.window->objectName(), at);
  if (!added && stored->second == at) return false;
  stored->second = at;
  return true;
}

}  // namespace lvx
