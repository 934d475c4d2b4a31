// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_feedback.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMessageBox>
#include <QVariantMap>

#include "guarded.h"
#include "print_job.h"

namespace lvx {
namespace {

constexpr int kNotifyTimeoutMs = 5000;

}  // namespace

PrintFeedback::PrintFeedback(Fallback fallback, QObject* parent)
    : QObject(parent), fallback_(std::move(fallback)) {}

void PrintFeedback::StartPrint(const QString& program, const QStringList& arguments,
                               const QString& docFileName) {
  PrintJob* job = PrintJob::Start(program, arguments, this);
  connect(job, &PrintJob::Finished, this, [this, docFileName](const PrintOutcome& outcome) {
    Guarded([&] {
      if (const auto notice = NoticeFor(outcome, docFileName, quietMs_)) Tell(*notice);
    });
    emit PrintEnded(outcome);
  });
}

void PrintFeedback::Tell(const PrintNotice& notice) {
  if (!bus_) bus_ = QDBusConnection::sessionBus();
  if (!bus_->isConnected()) {
    if (fallback_) fallback_(notice);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  QVariantMap hints;
  // A failed print must not slip by: it stays until the user closes it.
  hints.insert(QStringLiteral("urgency"),
               QVariant::fromValue(static_cast<uchar>(notice.failure ? 2 : 1)));
  call << QStringLiteral("lvxview") << 0U
       << QString::fromLatin1(notice.failure ? "dialog-error" : "document-print") << notice.title
       << notice.body << QStringList() << hints << (notice.failure ? 0 : -1);
  auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(call, kNotifyTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, notice](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            if (done->isError() && fallback_) Guarded([&] { fallback_(notice); });
          });
}

void ShowNoticeBox(QWidget* parent, const PrintNotice& notice) {
  auto* box = new QMessageBox(notice.failure ? QMessageBox::Warning : QMessageBox::Information,
                              notice.title, notice.body, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

}  // namespace lvx
