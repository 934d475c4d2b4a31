// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform.h"

#include <algorithm>
#include <cstdio>

#include "cp1252.h"

namespace lvx {
namespace {

bool HasPrinter(const std::vector<std::string>& printerNames, std::string_view wantedUp) {
  return std::any_of(printerNames.begin(), printerNames.end(),
                     [&](const std::string& name) { return UpperCase1252(name) == wantedUp; });
}

}  // namespace

std::string VersionText(float version, std::string_view decimalSeparator) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.7g", static_cast<double>(version));
  std::string text(buffer);
  const auto point = text.find('.');
  if (point != std::string::npos) text.replace(point, 1, decimalSeparator);
  return text;
}

std::string PlatformLabel(int platformNumber, std::string_view versionText) {
  std::string label;
  if (platformNumber == 0) label = "NONE";
  if (platformNumber == 1) label = "W95/98";
  if (platformNumber == 2) label = "NT";
  if (versionText == "4,1" && platformNumber == 1) label = "W98";
  if (versionText == "6" && platformNumber == 2) label = "VISTA";
  if (versionText == "6,01" && platformNumber == 2) label = "WIN7";
  if (versionText == "5,01" && platformNumber == 2) label = "XP";
  if (versionText == "5" && platformNumber == 2) label = "W2K";
  return label;
}

PlatformResult DetectPlatformFrom(int platformNumber, std::string_view versionText,
                                  const std::vector<std::string>& printerNames) {
  PlatformResult result;
  result.Platform = PlatformLabel(platformNumber, versionText);
  const std::string& label = result.Platform;
  const bool faxPlatform = label == "XP";
  const bool pdfPlatform = label == "W2K" || label == "XP" || label == "VISTA" || label == "WIN7";
  result.FaxEnabled = faxPlatform && HasPrinter(printerNames, "FAX") ? 1 : 0;
  result.PdfEnabled = pdfPlatform && HasPrinter(printerNames, "BULLZIP PDF PRINTER") ? 1 : 0;
  return result;
}

}  // namespace lvx
