// SPDX-License-Identifier: GPL-3.0-or-later
#include "text_1252.h"

#include <QHash>

#include "cp1252.h"

namespace lvx {
namespace {

// Every character of the code page with its byte, taken from the decoding
// direction so that both directions agree.
QHash<char32_t, char> EncodingTable() {
  QHash<char32_t, char> table;
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const QList<uint> decoded = FromBytes1252(std::string_view(&c, 1)).toUcs4();
    if (decoded.size() == 1) table.insert(decoded.front(), c);
  }
  return table;
}

}  // namespace

QString FromBytes1252(std::string_view bytes) {
  return QString::fromStdString(Utf8From1252(bytes));
}

std::string ToBytes1252(const QString& text) {
  static const QHash<char32_t, char> table = EncodingTable();
  std::string bytes;
  for (const uint code : text.toUcs4()) bytes += table.value(code, '?');
  return bytes;
}

}  // namespace lvx
