// SPDX-License-Identifier: GPL-3.0-or-later
#include "page_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QWheelEvent>

#include "button_layout.h"
#include "captions.h"
#include "glass_cursor.h"
#include "guarded.h"
#include "window_geometry.h"

namespace lvx {

PageWindow::PageWindow(ViewerDocument& document, std::optional<PageWindowServices> services,
                       QWidget* parent)
    : QWidget(parent),
      document_(document),
      services_(services ? std::move(*services) : PageWindowServices::FromDesktop(this)),
      runner_(document.session()),
      printFeedback_([this](const PrintNotice& notice) { ShowNoticeBox(this, notice); }),
      glass_(GlassCursor()) {
  setObjectName(QStringLiteral("Form2"));
  setFixedSize(kPageClientSize);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setMouseTracking(true);
  setCursor(glass_);

  CreateButtons();
  connect(&document_, &ViewerDocument::PageDrawn, this, [this] { update(); });
  connect(&document_, &ViewerDocument::DocumentChanged, this, [this] { UpdateCaption(); });
  connect(&document_, &ViewerDocument::PageWindowRequested, this, [this] {
    show();
    raise();
    activateWindow();
  });
  AddPagingKeys(*this, [this](PagingMove move) { Page(move); });
  UpdateCaption();
  document_.reader().PageBreakPending = 0;
}

void PageWindow::CreateButtons() {
  QWidget* previous = nullptr;
  for (const ButtonLayout& layout : kPageButtons) {
    QPushButton* button = MakeButton(layout, this);
    if (previous != nullptr) setTabOrder(previous, button);
    previous = button;
  }
  const QStringList hidden = HiddenPageButtons(document_.session().Settings);
  for (const ButtonLayout& layout : kPageButtons) {
    QPushButton* button = Button(layout.name);
    const bool shown = !hidden.contains(QString::fromLatin1(layout.name));
    button->setVisible(shown);
    button->setEnabled(shown);
  }
  Button("Command1")->setFocus();

  Connect("Command1", [this] { Command1_Click(); });
  Connect("Command2", [this] { Command2_Click(); });
  Connect("Command3", [this] { Command3_Click(); });
  Connect("Command4", [this] { Command4_Click(); });
  Connect("Command5", [this] { Command5_Click(); });
  Connect("Command6", [this] { Command6_Click(); });
  Connect("Command8", [this] { Command8_Click(); });
  Connect("Command9", [this] { Command9_Click(); });
  Connect("Command10", [this] { Command10_Click(); });
  Connect("Command11", [this] { RunAction([this] { document_.StepDocument(-1); }); });
  Connect("Command12", [this] { RunAction([this] { document_.StepDocument(+1); }); });
  // Ctrl+S saves as PDF like ".p&df", even where the platform hides that
  // button: on Linux the PDF companion is always there.
  auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
  connect(save, &QShortcut::activated, this, [this] { Guarded([this] { Command6_Click(); }); });
}

QPushButton* PageWindow::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void PageWindow::Connect(const char* name, std::function<void()> click) {
  connect(Button(name), &QPushButton::clicked, this,
          [click = std::move(click)] { Guarded(click); });
}

void PageWindow::UpdateCaption() {
  const ViewerSession& session = document_.session();
  setWindowTitle(LiteralWindowTitle(PageCaption(session.DocFileName, session.Header.InfoText)));
}

void PageWindow::LockButtons() {
  setCursor(Qt::WaitCursor);
  for (const ButtonLayout& layout : kPageButtons) Button(layout.name)->setCursor(Qt::WaitCursor);
  for (const ButtonLayout& layout : kPageButtons) Button(layout.name)->setEnabled(false);
}

void PageWindow::UnlockButtons() {
  setCursor(Qt::ArrowCursor);
  for (const ButtonLayout& layout : kPageButtons) Button(layout.name)->setCursor(Qt::ArrowCursor);
  for (const ButtonLayout& layout : kPageButtons) Button(layout.name)->setEnabled(true);
}

void PageWindow::RunAction(const std::function<void()>& action) {
  if (Busy != 0) return;
  Busy = 1;
  LockedAround(action);
  Busy = 0;
  Idle();
}

void PageWindow::LockedAround(const std::function<void()>& action) {
  // Disabled buttons lose the focus; the user goes on with the same one.
  const QPointer<QWidget> focused = focusWidget();
  LockButtons();
  Guarded(action);
  UnlockButtons();
  if (focused != nullptr && focused->isVisible() && focused->isEnabled()) {
    focused->setFocus(Qt::OtherFocusReason);
  }
}

void PageWindow::Idle() {
  if (exitRequested_) {
    Command1_Click();
    return;
  }
  emit BecameIdle();
}

void PageWindow::RequestExit() {
  exitRequested_ = true;
  if (Busy == 0) {
    Command1_Click();
    return;
  }
  // A message box of an action ends as its Cancel would; a companion is
  // waited for, so that its flag file is seen gone.
  if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->reject();
}

void PageWindow::Page(PagingMove move) {
  RunAction([this, move] { document_.Page(move); });
}

void PageWindow::Command1_Click() {
  if (Busy != 0) return;
  exitRequested_ = false;
  document_.CloseFiles();
  document_.session().RemoveLeftovers();
  emit ExitRequested();
}

void PageWindow::Command2_Click() {
  RunAction([this] { document_.NextPage(); });
}

void PageWindow::Form_Click() {
  if (Busy != 0) return;
  if (const auto half = ZoomHalfForClick(MouseX, MouseY)) document_.ShowZoom(*half);
}

void PageWindow::paintEvent(QPaintEvent* /*event*/) {
  Guarded([this] {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), document_.PageDrawing());
    const QRect panel =
        TwipsRect(kPanelTwips.left(), kPanelTwips.top(), kPanelTwips.width(), kPanelTwips.height());
    painter.fillRect(panel, QColor(224, 224, 224));
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
  });
}

void PageWindow::mouseMoveEvent(QMouseEvent* event) {
  Guarded([&] {
    MouseX = static_cast<float>(MillimetresFromPixels(event->position().x()));
    MouseY = static_cast<float>(MillimetresFromPixels(event->position().y()));
    switch (PointerFor(MouseX, Busy != 0)) {
      case PagePointer::kGlass:
        setCursor(glass_);
        break;
      case PagePointer::kArrow:
        setCursor(Qt::ArrowCursor);
        break;
      case PagePointer::kBusy:
        setCursor(Qt::WaitCursor);
        break;
    }
  });
}

void PageWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    Guarded([this] { Form_Click(); });
  }
}

void PageWindow::wheelEvent(QWheelEvent* event) {
  Guarded([&] { wheel_.Turn(*event, [this](PagingMove move) { Page(move); }); });
  event->accept();
}

void PageWindow::closeEvent(QCloseEvent* event) {
  // Closing by the title bar ends the viewer as "&Esci" does, and like it
  // not while an action (a companion's run) is under way.
  if (Busy != 0) {
    event->ignore();
    return;
  }
  Guarded([this] { Command1_Click(); });
  event->accept();
}

}  // namespace lvx
