// SPDX-License-Identifier: GPL-3.0-or-later
// The CUPS printers against a server that takes the connection and never
// answers: in this process, with a short patience.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "printer_system.h"
#include "temp_dir.h"

namespace lvx {
namespace {

// A listening socket whose connections wait in its queue, never accepted.
class SilentServer {
 public:
  explicit SilentServer(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    listening_ = fd_ >= 0 &&
                 ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(fd_, 16) == 0;
  }
  ~SilentServer() {
    if (fd_ >= 0) ::close(fd_);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  bool listening() const { return listening_; }

 private:
  int fd_;
  bool listening_ = false;
};

// The CUPS library reads CUPS_SERVER once per process: this is the one
// test here that asks it anything.
TEST(CupsPrinterSystem, AServerThatNeverAnswersIsUnreachableNotEmpty) {
  const testing::TempDir dir;
  const std::string path = dir.path() + "/silent.sock";
  const SilentServer server(path);
  ASSERT_TRUE(server.listening());
  ::setenv("CUPS_SERVER", path.c_str(), 1);

  CupsPrinterSystem printers(std::chrono::milliseconds(300));
  const PrinterSystem::Printers listed = printers.ListPrinters();
  EXPECT_TRUE(listed.names.empty());
  EXPECT_EQ(listed.error, "the print server " + path + " did not answer");
}

}  // namespace
}  // namespace lvx
