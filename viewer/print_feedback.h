// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "print_notice.h"

class QWidget;

namespace lvx {

// "&Stampa"'s watch over lvxprint: starts it without waiting and, when it
// ends, tells the user what NoticeFor says there is to tell, as a desktop
// notification over the session bus, or through `fallback` where no
// notification service answers. Never throws.
class PrintFeedback : public QObject {
  Q_OBJECT

 public:
  using Fallback = std::function<void(const PrintNotice& notice)>;

  // The session bus is reached at the first notice, unless SetBus names
  // another.
  explicit PrintFeedback(Fallback fallback, QObject* parent = nullptr);

  // Starts lvxprint (`program`) on the document `docFileName` names.
  void StartPrint(const QString& program, const QStringList& arguments, const QString& docFileName);

  void SetBus(QDBusConnection bus) { bus_ = std::move(bus); }
  void SetFallback(Fallback fallback) { fallback_ = std::move(fallback); }
  // How long a job may take and still go by without a word.
  void SetQuietMs(std::int64_t quietMs) { quietMs_ = quietMs; }

  // Shows `notice`: over the bus, else through the fallback.
  void Tell(const PrintNotice& notice);

 signals:
  // A run ended and what there was to tell has been handed on.
  void PrintEnded(const PrintOutcome& outcome);

 private:
  std::optional<QDBusConnection> bus_;
  Fallback fallback_;
  std::int64_t quietMs_ = kQuietPrintMs;
};

// A message box that does not block: the viewer goes on meanwhile.
void ShowNoticeBox(QWidget* parent, const PrintNotice& notice);

}  // namespace lvx
