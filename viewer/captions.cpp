// SPDX-License-Identifier: GPL-3.0-or-later
#include "captions.h"

#include <QFile>
#include <QStringList>
#include <string>

#include "cp1252.h"

namespace lvx {
namespace {

QString FileName(std::string_view name) {
  return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace

QString PageCaption(std::string_view docFileName, std::string_view infoText) {
  return FileName(docFileName) + QStringLiteral("     ") +
         QString::fromStdString(Utf8From1252(infoText));
}

QString ZoomCaption(ZoomHalf half, std::string_view docFileName) {
  return (half == ZoomHalf::kUpper ? QStringLiteral("zoom sopra ")
                                   : QStringLiteral("zoom sotto ")) +
         FileName(docFileName);
}

QString LiteralWindowTitle(const QString& caption) {
  QString title = caption;
  return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString OneCharacterPerLine(const QString& caption) {
  QStringList lines;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const bool marker = caption[i] == u'&' && i + 1 < caption.size();
    lines << (marker ? caption.mid(i++, 2) : caption.mid(i, 1));
  }
  return lines.join(u'\n');
}

}  // namespace lvx
