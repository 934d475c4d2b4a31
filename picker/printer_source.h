// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace lvx {

// The printers a program can choose from.
class PrinterSource {
 public:
  virtual ~PrinterSource() = default;
  // Device names of the installed printers, in the system's order.
  virtual QStringList PrinterNames() const = 0;
  // Device name of the system's default printer; empty when there is none.
  virtual QString DefaultPrinterName() const = 0;
};

// The CUPS queues, through Qt's print support. With no scheduler reachable
// both lists come back empty at once.
class CupsPrinters final : public PrinterSource {
 public:
  QStringList PrinterNames() const override;
  QString DefaultPrinterName() const override;
};

}  // namespace lvx
