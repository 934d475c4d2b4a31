// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_notice.h"

#include <QStringList>
#include <string_view>

namespace lvx {
namespace {

// lvxprint's line when it wrote the job beside the document.
constexpr std::string_view kBesideMarker = "; the job is in ";

// The last line of `text` that holds more than blanks, trimmed; output is
// 8-bit text of the locale, as file names are.
QString LastLine(const std::string& text) {
  const QStringList lines = QString::fromLocal8Bit(text).split(u'\n');
  for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
    const QString trimmed = line->trimmed();
    if (!trimmed.isEmpty()) return trimmed;
  }
  return {};
}

PrintNotice Failure(const QString& reason) {
  return {QStringLiteral("Stampa non riuscita"), reason, true};
}

}  // namespace

std::optional<PrintNotice> NoticeFor(const PrintOutcome& outcome, const QString& docFileName,
                                     std::int64_t quietMs) {
  if (!outcome.started) {
    return Failure(QStringLiteral("lvxprint non si avvia: ") +
                   QString::fromLocal8Bit(outcome.startError));
  }
  if (outcome.signalled) {
    return Failure(QStringLiteral("lvxprint si è interrotto (segnale %1)").arg(outcome.status));
  }
  if (outcome.status != 0) {
    const QString reason = LastLine(outcome.err);
    return Failure(reason.isEmpty()
                       ? QStringLiteral("lvxprint è terminato con lo stato %1").arg(outcome.status)
                       : reason);
  }
  const QString line = LastLine(outcome.out);
  if (const qsizetype at =
          line.indexOf(QString::fromLatin1(kBesideMarker.data(), kBesideMarker.size()));
      at >= 0) {
    const QString file = line.mid(at + static_cast<qsizetype>(kBesideMarker.size()));
    return PrintNotice{QStringLiteral("Nessuna stampante installata"),
                       QStringLiteral("La stampa è stata salvata in ") + file, false};
  }
  if (outcome.elapsedMs <= quietMs) return std::nullopt;
  return PrintNotice{
      QStringLiteral("Stampa inviata"),
      line.isEmpty() ? docFileName + QStringLiteral(" inviato alla stampante") : line, false};
}

}  // namespace lvx
