// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace lvx::testing {

// A CUPS scheduler of the test's own that listens on a free TCP port of
// 127.0.0.1, as a print server on another host does, with the queue
// "GenPDF" (the default printer; its jobs go to out/job.pdf). Stopped when
// the object goes. `options` go to tests/support/private-cups as well as
// "--tcp".
class PrintServer {
 public:
  explicit PrintServer(const QStringList& options = {});
  ~PrintServer();
  PrintServer(const PrintServer&) = delete;
  PrintServer& operator=(const PrintServer&) = delete;

  bool running() const { return !address_.empty(); }
  // "127.0.0.1:PORT", the value for CUPS_SERVER.
  const std::string& address() const { return address_; }
  // The scheduler's folder, its queues' output folder and its spool.
  const std::string& folder() const { return dir_; }
  std::string out() const { return dir_ + "/out"; }
  std::string spool() const { return dir_ + "/spool"; }
  // What the scheduler has logged of the requests it got.
  std::string AccessLog() const;

  // Runs a CUPS client program (lpadmin, lpstat, ...) against the server;
  // its standard output, or nothing when it failed.
  std::optional<std::string> Client(const QString& program, const QStringList& arguments) const;
  // Adds a queue that writes its jobs to out/FILE, with the PPD at `ppd`
  // and the lpadmin `options` ("-o", "PageSize=Letter").
  bool AddQueue(const std::string& name, const std::string& file, const std::string& ppd,
                const QStringList& options = {}) const;
  // Waits until no job is pending (at most 60 s); false when some stay.
  bool Idle() const;
  void Stop();

 private:
  TempDir root_;
  std::string dir_ = root_.path() + "/cups";
  std::string address_;
};

}  // namespace lvx::testing
