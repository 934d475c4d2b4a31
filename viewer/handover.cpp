// SPDX-License-Identifier: GPL-3.0-or-later
#include "handover.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>

namespace lvx {
namespace {

constexpr char kAnswer[] = "ok";

// A socket another user made under our name in a shared folder gets
// nothing from us.
bool OwnSocket(const QString& socketPath) {
  struct stat st {};
  return ::lstat(QFile::encodeName(socketPath).constData(), &st) == 0 && S_ISSOCK(st.st_mode) &&
         st.st_uid == ::getuid();
}

}  // namespace

QString HandoverSocketPath(const QString& lockPath) {
  QString path = lockPath;
  if (path.endsWith(QStringLiteral(".lock"))) path.chop(5);
  return path + QStringLiteral(".sock");
}

HandoverServer::HandoverServer(QObject* parent) : QObject(parent) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &HandoverServer::Accept);
}

bool HandoverServer::Listen(const QString& socketPath) {
  QLocalServer::removeServer(socketPath);
  return server_.listen(socketPath);
}

void HandoverServer::Accept() {
  while (QLocalSocket* client = server_.nextPendingConnection()) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    // A client that never finishes its message is let go.
    QTimer::singleShot(kClientTimeoutMs, client, [client] { client->abort(); });
    connect(client, &QLocalSocket::readyRead, this, [this, client] { Read(client); });
  }
}

void HandoverServer::Read(QLocalSocket* client) {
  const QByteArray data = client->peek(client->bytesAvailable());
  const qsizetype end = data.indexOf('\0');
  if (end < 0) {
    if (data.size() > kMaxMessageBytes) client->abort();
    return;
  }
  client->read(end + 1);
  if (end > 0 && end <= kMaxMessageBytes) {
    client->write(kAnswer);
    client->flush();
    emit DocumentReceived(data.left(end).toStdString());
  }
  client->disconnectFromServer();
}

bool HandDocumentOver(const QString& socketPath, const std::string& path, int timeoutMs) {
  if (path.empty() || !OwnSocket(socketPath)) return false;
  const QDeadlineTimer deadline(timeoutMs);
  QLocalSocket socket;
  socket.connectToServer(socketPath);
  if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
  socket.write(path.data(), static_cast<qint64>(path.size()));
  socket.write("\0", 1);
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return false;
  QByteArray answer;
  while (answer.size() < static_cast<qsizetype>(sizeof kAnswer) - 1) {
    if (socket.bytesAvailable() == 0 &&
        !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      break;
    }
    answer += socket.readAll();
  }
  return answer.startsWith(kAnswer);
}

}  // namespace lvx
