// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "print_notice.h"

class QSocketNotifier;

namespace lvx {

// One run of a program whose end the viewer wants to hear of without
// waiting for it: started as the viewer's own child, its standard output
// and error kept in memory files, its end noticed through a process file
// descriptor, so nothing polls meanwhile. The program outlives the viewer
// unharmed: no pipe breaks when the viewer ends first. Deletes itself
// after Finished.
class PrintJob : public QObject {
  Q_OBJECT

 public:
  // Starts `program` with `arguments`, each one argument; Finished comes
  // from the event loop, also when it could not be started.
  static PrintJob* Start(const QString& program, const QStringList& arguments,
                         QObject* parent = nullptr);
  ~PrintJob() override;

 signals:
  void Finished(const PrintOutcome& outcome);

 private:
  explicit PrintJob(QObject* parent);
  void Spawn(const QString& program, const QStringList& arguments);
  void Reap();
  void Finish();

  PrintOutcome outcome_;
  int pid_ = -1;
  int pidFd_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::unique_ptr<QSocketNotifier> ended_;
  std::int64_t startedMs_ = 0;
};

}  // namespace lvx
