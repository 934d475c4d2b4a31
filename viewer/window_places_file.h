// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <map>

namespace lvx {

// Where each window was last put, by the window's object name.
using StoredPlaces = std::map<QString, QPoint>;

// The places kept in `file`, an INI file as QSettings reads it: a group per
// window holding its place as "pos". A missing or unreadable file, and an
// entry that holds no point, give nothing.
StoredPlaces ReadWindowPlaces(const QString& file);

// The bytes of that file for `places`, exactly as QSettings writes them.
QByteArray WindowPlacesText(const StoredPlaces& places);

// Replaces `file` (what a symbolic link there points to) with `places`
// through an AtomicFile, making its folder when missing. False when it
// could not be written; the old file then stays as it was.
bool WriteWindowPlaces(const QString& file, const StoredPlaces& places);

}  // namespace lvx
