// SPDX-License-Identifier: GPL-3.0-or-later
#include "button_layout.h"

#include <QFontMetrics>
#include <QPalette>
#include <QPushButton>

#include "window_geometry.h"

namespace lvx {
namespace {

// What a button's frame and padding take of its width.
constexpr int kCaptionMargin = 6;

}  // namespace

const std::array<ButtonLayout, 11> kPageButtons{{
    {"Command1", "&Esci", {5937, 120, 855, 495}, QColor(255, 192, 192)},
    {"Command2", "&Pagina avanti", {5937, 840, 855, 495}, QColor()},
    {"Command3", "&Modifica", {5937, 1560, 855, 495}, QColor()},
    {"Command4", "&Stampa", {5937, 2280, 855, 495}, QColor(255, 255, 128)},
    {"Command5", "&Imposta Stamp.", {5937, 3000, 855, 495}, QColor()},
    {"Command8", "E-&mail", {5937, 4440, 855, 495}, QColor()},
    {"Command9", "Invia &Fax", {5937, 6000, 855, 495}, QColor(192, 255, 192)},
    {"Command10", "Info Ms&g", {5937, 6840, 855, 495}, QColor()},
    {"Command11", "<", {6000, 7560, 255, 255}, QColor(), true},
    {"Command12", ">", {6480, 7560, 255, 255}, QColor(), true},
    {"Command6", ".p&df", {5937, 5216, 855, 495}, QColor(255, 192, 128)},
}};

QStringList HiddenPageButtons(const ViewerSettings& settings) {
  QStringList hidden;
  if (settings.IniFound != 1) {
    hidden << "Command3"
           << "Command6"
           << "Command8"
           << "Command9"
           << "Command10";
  } else {
    if (settings.FaxEnabled != 1) hidden << "Command9";
    if (settings.PdfEnabled != 1) hidden << "Command6";
  }
  if (settings.RollDir == 0)
    hidden << "Command11"
           << "Command12";
  return hidden;
}

QFont ButtonFont(bool bold) {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(8.25);
  font.setBold(bold);
  return font;
}

QString WrappedCaption(const QString& caption, const QFont& font, int width) {
  const QFontMetrics metrics(font);
  const auto shown = [](QString text) { return text.remove(u'&'); };
  QStringList lines;
  QString line;
  for (const QString& word : caption.split(u' ')) {
    const QString longer = line.isEmpty() ? word : line + u' ' + word;
    if (!line.isEmpty() && metrics.horizontalAdvance(shown(longer)) > width) {
      lines << line;
      line = word;
    } else {
      line = longer;
    }
  }
  lines << line;
  return lines.join(u'\n');
}

QPushButton* MakeButton(const ButtonLayout& layout, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(layout.caption), parent);
  button->setObjectName(QString::fromLatin1(layout.name));
  const QRect& t = layout.twips;
  button->setGeometry(TwipsRect(t.left(), t.top(), t.width(), t.height()));
  button->setFont(ButtonFont(layout.bold));
  button->setText(WrappedCaption(button->text(), button->font(), button->width() - kCaptionMargin));
  if (layout.face.isValid()) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, layout.face);
    button->setPalette(palette);
  }
  button->setCursor(Qt::ArrowCursor);
  button->setAutoDefault(false);
  button->setAttribute(Qt::WA_NoMousePropagation);
  return button;
}

}  // namespace lvx
