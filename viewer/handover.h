// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

class QLocalSocket;

namespace lvx {

// The local socket beside the single-instance lock through which a second
// start of the viewer hands its document to the running one. Only the
// user's own processes reach it. A message is the document's absolute path
// as bytes, ended by a NUL byte; the running viewer answers "ok" once it
// has queued the document.

// The socket's path for the lock at `lockPath` ("x.lock" gives "x.sock").
QString HandoverSocketPath(const QString& lockPath);

// The running viewer's end. Needs an application object.
class HandoverServer : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 kMaxMessageBytes = 64 * 1024;
  static constexpr int kClientTimeoutMs = 5000;

  explicit HandoverServer(QObject* parent = nullptr);

  // Listens at `socketPath`, replacing a socket a viewer that has gone left
  // there: the caller holds the lock. False when it cannot listen.
  bool Listen(const QString& socketPath);

 signals:
  void DocumentReceived(const std::string& path);

 private:
  void Accept();
  void Read(QLocalSocket* client);

  QLocalServer server_;
};

// The second start's end: hands `path` to the viewer listening at
// `socketPath` and waits at most `timeoutMs` for its answer. False when no
// viewer of this user listens there or it did not answer.
bool HandDocumentOver(const QString& socketPath, const std::string& path, int timeoutMs);

}  // namespace lvx
