// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the desktop's notification service, for tests on a
// private session bus (run it with dbus-run-session): it owns
// org.freedesktop.Notifications and appends each notification to the file
// named by its argument as one line, title and text separated by a tab.
// With "--no-service" it owns nothing and only keeps the bus alive. Says
// "ready", its process id and the bus's address on standard output once it
// is set up, and ends on SIGTERM or when its standard input closes; then
// dbus-run-session ends the bus with it.
#include <unistd.h>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QSocketNotifier>
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
  const QString argument = QString::fromLocal8Bit(argv[1]);
  Notifications service(argument);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return 1;
  if (argument != QStringLiteral("--no-service") &&
      (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                           QDBusConnection::ExportAllSlots) ||
       !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))) {
    return 1;
  }
  std::printf("ready %d %s\n", static_cast<int>(::getpid()),
              qgetenv("DBUS_SESSION_BUS_ADDRESS").constData());
  std::fflush(stdout);
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [] {
    char byte = 0;
    if (::read(STDIN_FILENO, &byte, 1) <= 0) QCoreApplication::quit();
  });
  return QCoreApplication::exec();
}

#include "notification_standin.moc"
