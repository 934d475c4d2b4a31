// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the desktop's notification service, for tests on a
// private session bus: it owns org.freedesktop.Notifications and appends
// each notification to the file named by its argument as one line, title
// and text separated by a tab. Says "ready" on standard output once the
// name is its own.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QVariantMap>
#include <cstdio>

class Notifications : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  explicit Notifications(QString file) : file_(std::move(file)) {}

 public slots:
  uint Notify(const QString& /*appName*/, uint /*replacesId*/, const QString& /*appIcon*/,
              const QString& summary, const QString& body, const QStringList& /*actions*/,
              const QVariantMap& /*hints*/, int /*expireTimeout*/) {
    QFile file(file_);
    if (file.open(QIODevice::Append)) file.write((summary + u'\t' + body + u'\n').toUtf8());
    return ++lastId_;
  }
  QStringList GetCapabilities() { return {QStringLiteral("body")}; }

 private:
  QString file_;
  uint lastId_ = 0;
};

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  if (argc != 2) return 2;
  Notifications service(QString::fromLocal8Bit(argv[1]));
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                          QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
    return 1;
  }
  std::puts("ready");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

#include "notification_standin.moc"
