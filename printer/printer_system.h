// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sheet_paper.h"

namespace lvx {

// What the system's printing gives lvxprint. Names are UTF-8. A non-empty
// `error` in an answer means the printing system could not be asked (its
// server unreachable, or gone in the middle): it names the server.
class PrinterSystem {
 public:
  struct Printers {
    std::vector<std::string> names;  // device names, in the system's order
    std::string defaultName;         // empty when there is no default
    std::string error;
  };
  struct Paper {
    SheetPaper paper;  // the printer's default paper and its printable area
    std::string error;
  };
  struct Submission {
    bool ok = false;
    int jobId = 0;      // the system's number of the job once ok
    std::string error;  // the system's reason when not ok
  };

  virtual ~PrinterSystem() = default;
  // The installed printers and the default one.
  virtual Printers ListPrinters() = 0;
  // The paper the printer `name` prints on unless told otherwise: A4 from
  // the sheet's corner when it names none.
  virtual Paper DefaultPaper(const std::string& name) = 0;
  // Hands the PDF file at `path` to the printer `name` as one job titled
  // `title`: one copy (copies are in the file), on `paper`'s media. `ok`
  // once the printer system has accepted the job; the file may go
  // afterwards.
  virtual Submission SubmitPdf(const std::string& name, const std::string& path,
                               const std::string& title, const SheetPaper& paper) = 0;
};

// The printer a job goes to: the installed printer whose device name is
// exactly `wanted` (same letter case), else the default printer, else the
// first installed printer; nothing when no printer is installed.
std::optional<std::string> ChoosePrinter(const std::vector<std::string>& installed,
                                         std::string_view defaultName, std::string_view wanted);

// The CUPS queues of the scheduler CUPS's clients use (the local one, or
// the server named by CUPS_SERVER or client.conf), asked over one
// connection: listed as CUPS lists them (as Qt's print support does for the
// other programs; none when the CUPS library cannot be loaded), papers as
// the queues describe them (media-default, media-col-default with its
// margins; a media the user set for the queue with lpoptions, with the
// margins media-col-database gives its size), jobs handed over with the queue's own default options
// (as set with lpoptions) except copies, media and scaling. A scheduler that leaves a connection or
// a request without an answer for `timeout` (the library tries a request twice) counts as
// unreachable.
class CupsPrinterSystem : public PrinterSystem {
 public:
  static constexpr std::chrono::milliseconds kTimeout{10000};

  explicit CupsPrinterSystem(std::chrono::milliseconds timeout = kTimeout);
  ~CupsPrinterSystem() override;
  CupsPrinterSystem(const CupsPrinterSystem&) = delete;
  CupsPrinterSystem& operator=(const CupsPrinterSystem&) = delete;

  Printers ListPrinters() override;
  Paper DefaultPaper(const std::string& name) override;
  Submission SubmitPdf(const std::string& name, const std::string& path, const std::string& title,
                       const SheetPaper& paper) override;

 private:
  struct Connection;
  // The connection to the scheduler, opened on first use; null (with
  // `error` naming the server) when it cannot be reached.
  Connection* Connect(std::string& error);

  std::chrono::milliseconds timeout_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace lvx
