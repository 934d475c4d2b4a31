// SPDX-License-Identifier: GPL-3.0-or-later
#include "logo.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace lvx {
namespace {

constexpr int kWidth = 86;
constexpr int kHeight = 35;
const QColor kInk(0x1f, 0x3a, 0x68);
const QColor kAccent(0xd9, 0x6a, 0x1e);

void DrawPrinter(QPainter& painter) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kInk);
  painter.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
  // The sheet coming out, with two lines of text on it.
  painter.setBrush(Qt::white);
  painter.setPen(QPen(kInk, 1));
  painter.drawRect(QRectF(8.5, 4.5, 16, 26));
  painter.setPen(QPen(kAccent, 1.5));
  painter.drawLine(QPointF(11, 22), QPointF(22, 22));
  painter.drawLine(QPointF(11, 26), QPointF(19, 26));
  painter.setPen(Qt::NoPen);
  painter.setBrush(kInk);
  painter.drawRect(QRectF(5, 16, 22, 3));
}

void DrawName(QPainter& painter) {
  QFont font("Liberation Sans");
  font.setPixelSize(22);
  font.setBold(true);
  font.setItalic(true);
  painter.setFont(font);
  painter.setPen(kInk);
  painter.drawText(QRectF(33, 0, kWidth - 34, kHeight - 4), Qt::AlignCenter, "lvx");
  painter.setPen(QPen(kAccent, 2));
  painter.drawLine(QPointF(36, kHeight - 5), QPointF(kWidth - 4, kHeight - 5));
}

}  // namespace

QPixmap PickerLogo(qreal devicePixelRatio) {
  QPixmap logo(QSize(kWidth, kHeight) * devicePixelRatio);
  logo.setDevicePixelRatio(devicePixelRatio);
  logo.fill(Qt::transparent);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);
  DrawPrinter(painter);
  DrawName(painter);
  return logo;
}

}  // namespace lvx
