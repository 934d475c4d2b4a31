// SPDX-License-Identifier: GPL-3.0-or-later
#include "printer_source.h"

#include <QPrinterInfo>

namespace lvx {

QStringList CupsPrinters::PrinterNames() const {
  return QPrinterInfo::availablePrinterNames();
}

QString CupsPrinters::DefaultPrinterName() const {
  return QPrinterInfo::defaultPrinterName();
}

}  // namespace lvx
