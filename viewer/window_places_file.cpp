// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_places_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "atomic_file.h"

namespace lvx {
namespace {

const QString kPosKey = QStringLiteral("pos");

// A group name as QSettings writes it: letters, digits and "_-." as they
// are, every other character as %XX (Latin-1) or %UXXXX, and "General",
// which would name the keys outside every group, marked with a %.
QByteArray EscapedGroup(const QString& name) {
  if (name.compare(QStringLiteral("General"), Qt::CaseInsensitive) == 0) {
    return "%" + name.toLatin1();
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  QByteArray escaped;
  for (const QChar c : name) {
    const char16_t code = c.unicode();
    if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
        (code >= '0' && code <= '9') || code == '_' || code == '-' || code == '.') {
      escaped += static_cast<char>(code);
    } else if (code == '/') {
      escaped += '\\';
    } else if (code <= 0xFF) {
      escaped += '%';
      escaped += kHex[code >> 4];
      escaped += kHex[code & 0xF];
    } else {
      escaped += "%U";
      for (int shift = 12; shift >= 0; shift -= 4) escaped += kHex[(code >> shift) & 0xF];
    }
  }
  return escaped;
}

// The file the settings live in: where a symbolic link leads, so that a
// link kept with the user's other settings stays a link.
QString TargetOf(const QString& file) {
  const QString canonical = QFileInfo(file).canonicalFilePath();
  return canonical.isEmpty() ? file : canonical;
}

}  // namespace

StoredPlaces ReadWindowPlaces(const QString& file) {
  StoredPlaces places;
  const QSettings settings(file, QSettings::IniFormat);
  for (const QString& group : settings.childGroups()) {
    const QVariant value = settings.value(group + QLatin1Char('/') + kPosKey);
    if (value.isValid() && value.canConvert<QPoint>()) places[group] = value.toPoint();
  }
  return places;
}

QByteArray WindowPlacesText(const StoredPlaces& places) {
  QByteArray text;
  for (const auto& [name, at] : places) {
    if (!text.isEmpty()) text += '\n';
    text += "[" + EscapedGroup(name) + "]\n";
    text += kPosKey.toLatin1() + "=@Point(" + QByteArray::number(at.x()) + ' ' +
            QByteArray::number(at.y()) + ")\n";
  }
  return text;
}

bool WriteWindowPlaces(const QString& file, const StoredPlaces& places) {
  const QString target = TargetOf(file);
  if (!QDir().mkpath(QFileInfo(target).absolutePath())) return false;
  const std::string path = QFile::encodeName(target).toStdString();
  AtomicFile pending(path);
  const QByteArray text = WindowPlacesText(places);
  return pending.ok() && pending.Write({text.constData(), static_cast<std::size_t>(text.size())}) &&
         pending.Replace(path);
}

}  // namespace lvx
