// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// What the system's printing gives lvxprint. Names are UTF-8.
class PrinterSystem {
 public:
  struct Submission {
    bool ok = false;
    std::string error;  // the system's reason when not ok
  };

  virtual ~PrinterSystem() = default;
  // Device names of the installed printers, in the system's order.
  virtual std::vector<std::string> PrinterNames() = 0;
  // The default printer's device name; empty when there is none.
  virtual std::string DefaultPrinterName() = 0;
  // Hands the PDF file at `path` to the printer `name` as one job titled
  // `title`: one copy (copies are in the file), A4. `ok` once the printer
  // system has accepted the job; the file may go afterwards.
  virtual Submission SubmitPdf(const std::string& name, const std::string& path,
                               const std::string& title) = 0;
};

// The printer a job goes to: the installed printer whose device name is
// exactly `wanted` (same letter case), else the default printer, else the
// first installed printer; nothing when no printer is installed.
std::optional<std::string> ChoosePrinter(const std::vector<std::string>& installed,
                                         std::string_view defaultName, std::string_view wanted);

// The CUPS queues: listed as CUPS lists them (as Qt's print support does for
// the other programs; none when the CUPS library cannot be loaded), jobs
// handed over with
// the queue's own default options (as set with lpoptions) except copies and
// media. With no scheduler reachable no printer is listed.
class CupsPrinterSystem : public PrinterSystem {
 public:
  std::vector<std::string> PrinterNames() override;
  std::string DefaultPrinterName() override;
  Submission SubmitPdf(const std::string& name, const std::string& path,
                       const std::string& title) override;
};

}  // namespace lvx
