// SPDX-License-Identifier: GPL-3.0-or-later
#include "cups_library.h"
#include "printer_system.h"

namespace lvx {
namespace {

// cupsAddOption, but an option already set stays.
int KeepOrAdd(const CupsLibrary& cups, const char* name, const char* value, int count,
              cups_option_t** options) {
  if (cups.GetOption(name, count, *options) != nullptr) return count;
  return cups.AddOption(name, value, count, options);
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

// The destinations CUPS lists, handed to `take` one by one.
template <class Take>
void ForEachDest(Take&& take) {
  const CupsLibrary* cups = CupsLibrary::Get();
  if (cups == nullptr) return;
  cups_dest_t* dests = nullptr;
  const int count = cups->GetDests2(CUPS_HTTP_DEFAULT, &dests);
  for (int i = 0; i < count; ++i) take(dests[i]);
  cups->FreeDests(count, dests);
}

}  // namespace

std::vector<std::string> CupsPrinterSystem::PrinterNames() {
  std::vector<std::string> names;
  ForEachDest([&](const cups_dest_t& dest) { names.push_back(DeviceName(dest)); });
  return names;
}

std::string CupsPrinterSystem::DefaultPrinterName() {
  std::string name;
  ForEachDest([&](const cups_dest_t& dest) {
    if (dest.is_default && name.empty()) name = DeviceName(dest);
  });
  return name;
}

PrinterSystem::Submission CupsPrinterSystem::SubmitPdf(const std::string& name,
                                                       const std::string& path,
                                                       const std::string& title) {
  const CupsLibrary* cups = CupsLibrary::Get();
  if (cups == nullptr) return {false, "the CUPS library cannot be loaded"};
  // A listed name may be "queue/instance": the instance only brings options.
  const auto slash = name.find('/');
  const std::string queue = name.substr(0, slash);
  const std::string instance = slash == std::string::npos ? "" : name.substr(slash + 1);
  cups_dest_t* dest = cups->GetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(),
                                         instance.empty() ? nullptr : instance.c_str());
  cups_option_t* options = nullptr;
  // Copies are printed into the file, collated; the queue must not multiply them.
  int count = cups->AddOption("copies", "1", 0, &options);
  count = cups->AddOption("media", "iso_a4_210x297mm", count, &options);
  if (dest != nullptr) {
    for (int i = 0; i < dest->num_options; ++i) {
      count = KeepOrAdd(*cups, dest->options[i].name, dest->options[i].value, count, &options);
    }
  }
  const int job = cups->PrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), path.c_str(), title.c_str(),
                                   count, options);
  cups->FreeOptions(count, options);
  if (dest != nullptr) cups->FreeDests(1, dest);
  if (job <= 0) return {false, cups->LastErrorString()};
  return {true, {}};
}

}  // namespace lvx
