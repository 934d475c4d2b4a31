// SPDX-License-Identifier: GPL-3.0-or-later
#include <cups/cups.h>

#include "printer_system.h"

namespace lvx {
namespace {

// cupsAddOption, but an option already set stays.
int KeepOrAdd(const char* name, const char* value, int count, cups_option_t** options) {
  if (cupsGetOption(name, count, *options) != nullptr) return count;
  return cupsAddOption(name, value, count, options);
}

// The device name of a destination: the queue, and "/instance" for an
// instance of it, as the other programs list printers.
std::string DeviceName(const cups_dest_t& dest) {
  std::string name = dest.name;
  if (dest.instance != nullptr) {
    name += '/';
    name += dest.instance;
  }
  return name;
}

}  // namespace

std::vector<std::string> CupsPrinterSystem::PrinterNames() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(DeviceName(dests[i]));
  cupsFreeDests(count, dests);
  return names;
}

std::string CupsPrinterSystem::DefaultPrinterName() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  std::string name;
  for (int i = 0; i < count && name.empty(); ++i) {
    if (dests[i].is_default) name = DeviceName(dests[i]);
  }
  cupsFreeDests(count, dests);
  return name;
}

PrinterSystem::Submission CupsPrinterSystem::SubmitPdf(const std::string& name,
                                                       const std::string& path,
                                                       const std::string& title) {
  // A listed name may be "queue/instance": the instance only brings options.
  const auto slash = name.find('/');
  const std::string queue = name.substr(0, slash);
  const std::string instance = slash == std::string::npos ? "" : name.substr(slash + 1);
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                       instance.empty() ? nullptr : instance.c_str());
  cups_option_t* options = nullptr;
  // Copies are printed into the file, collated; the queue must not multiply them.
  int count = cupsAddOption("copies", "1", 0, &options);
  count = cupsAddOption("media", "iso_a4_210x297mm", count, &options);
  if (dest != nullptr) {
    for (int i = 0; i < dest->num_options; ++i) {
      count = KeepOrAdd(dest->options[i].name, dest->options[i].value, count, &options);
    }
  }
  const int job =
      cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), path.c_str(), title.c_str(), count, options);
  cupsFreeOptions(count, options);
  if (dest != nullptr) cupsFreeDests(1, dest);
  if (job <= 0) return {false, cupsLastErrorString()};
  return {true, {}};
}

}  // namespace lvx
