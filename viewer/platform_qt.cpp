// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform_qt.h"

#include <QLocale>
#include <QPrinterInfo>
#include <QSysInfo>
#include <QVersionNumber>

namespace lvx {

PlatformIdentity QtPlatformInfo::Identity() const {
  PlatformIdentity identity;
  // None of the numbered platforms (1 and 2) is Linux.
  identity.Number = 0;
  const QVersionNumber kernel = QVersionNumber::fromString(QSysInfo::kernelVersion());
  identity.Version = static_cast<float>(kernel.majorVersion()) +
                     static_cast<float>(kernel.minorVersion()) / 100.0F;
  identity.Build = kernel.microVersion();
  identity.DecimalSeparator = QLocale::system().decimalPoint().toStdString();
  return identity;
}

std::vector<std::string> QtPlatformInfo::PrinterNames() const {
  std::vector<std::string> names;
  for (const QString& name : QPrinterInfo::availablePrinterNames()) {
    names.push_back(name.toStdString());
  }
  return names;
}

}  // namespace lvx
