// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QWheelEvent>
#include <array>

#include "button_layout.h"
#include "captions.h"
#include "guarded.h"
#include "window_geometry.h"

namespace lvx {
namespace {

ZoomHalf Other(ZoomHalf half) {
  return half == ZoomHalf::kUpper ? ZoomHalf::kLower : ZoomHalf::kUpper;
}

std::array<ButtonLayout, 3> ZoomButtons(ZoomHalf half) {
  const bool upper = half == ZoomHalf::kUpper;
  return {{
      {"Command1", "&Avanti", {11280, 120, 255, 1531}, QColor()},
      {"Command2",
       upper ? "&Sotto" : "&Sopra",
       {11280, 1920, 255, 1531},
       upper ? QColor(192, 192, 0) : QColor(255, 255, 0)},
      {"Command3", "&Copia", {11280, 3840, 255, 1531}, QColor(128, 128, 255)},
  }};
}

}  // namespace

ZoomWindow::ZoomWindow(ViewerDocument& document, ZoomHalf half, QWidget* parent)
    : QWidget(parent), document_(document), half_(half) {
  setObjectName(half == ZoomHalf::kUpper ? QStringLiteral("Form3") : QStringLiteral("Form4"));
  setFixedSize(kZoomClientSize);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setCursor(Qt::CrossCursor);

  QWidget* previous = nullptr;
  for (const ButtonLayout& layout : ZoomButtons(half)) {
    QPushButton* button = MakeButton(layout, this);
    button->setText(OneCharacterPerLine(button->text()));
    if (previous != nullptr) setTabOrder(previous, button);
    previous = button;
  }
  const auto connectClick = [this](const char* name, void (ZoomWindow::*click)()) {
    connect(Button(name), &QPushButton::clicked, this,
            [this, click] { Guarded([this, click] { (this->*click)(); }); });
  };
  connectClick("Command1", &ZoomWindow::Command1_Click);
  connectClick("Command2", &ZoomWindow::Command2_Click);
  connectClick("Command3", &ZoomWindow::Command3_Click);

  connect(&document_, &ViewerDocument::PageDrawn, this, [this] { update(); });
  connect(&document_, &ViewerDocument::DocumentChanged, this, [this] { UpdateCaption(); });
  connect(&document_, &ViewerDocument::ZoomShowRequested, this, [this](ZoomHalf wanted) {
    if (wanted == half_) ShowHere();
  });
  connect(&document_, &ViewerDocument::ZoomHideRequested, this, [this](ZoomHalf wanted) {
    if (wanted == half_) hide();
  });
  AddPagingKeys(*this, [this](PagingMove move) { Page(move); });
  // Escape leaves as a click on the picture does.
  auto* escape = new QShortcut(Qt::Key_Escape, this);
  connect(escape, &QShortcut::activated, this, [this] { Guarded([this] { Form_Click(); }); });
  UpdateCaption();
}

QPushButton* ZoomWindow::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void ZoomWindow::ShowHere() {
  show();
  raise();
  activateWindow();
}

void ZoomWindow::UpdateCaption() {
  setWindowTitle(LiteralWindowTitle(ZoomCaption(half_, document_.session().DocFileName)));
}

void ZoomWindow::Page(PagingMove move) {
  document_.Page(move);
}

void ZoomWindow::Command1_Click() {
  document_.NextPage();
}

void ZoomWindow::Command2_Click() {
  hide();
  document_.ShowZoom(Other(half_));
}

void ZoomWindow::Command3_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setImage(document_.ZoomDrawing(half_));
}

void ZoomWindow::Form_Click() {
  hide();
  document_.ShowPageWindow();
}

void ZoomWindow::paintEvent(QPaintEvent* /*event*/) {
  Guarded([this] {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), document_.ZoomDrawing(half_));
  });
}

void ZoomWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Guarded([this] { Form_Click(); });
  }
}

void ZoomWindow::wheelEvent(QWheelEvent* event) {
  Guarded([&] { wheel_.Turn(*event, [this](PagingMove move) { Page(move); }); });
  event->accept();
}

}  // namespace lvx
