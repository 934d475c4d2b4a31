// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cups/cups.h>

namespace lvx {

// The functions of the CUPS client library that lvxprint calls, loaded the
// first time a printer is asked for. A job written to a file never loads
// the library, nor the encryption and network libraries it brings, which
// are most of what a short run would otherwise keep in memory.
struct CupsLibrary {
  decltype(&cupsGetDests2) GetDests2 = nullptr;
  decltype(&cupsFreeDests) FreeDests = nullptr;
  decltype(&cupsGetNamedDest) GetNamedDest = nullptr;
  decltype(&cupsAddOption) AddOption = nullptr;
  decltype(&cupsGetOption) GetOption = nullptr;
  decltype(&cupsFreeOptions) FreeOptions = nullptr;
  decltype(&cupsPrintFile2) PrintFile2 = nullptr;
  decltype(&cupsLastError) LastError = nullptr;
  decltype(&cupsLastErrorString) LastErrorString = nullptr;
  decltype(&cupsServer) Server = nullptr;
  decltype(&cupsEncryption) Encryption = nullptr;
  decltype(&cupsDoRequest) DoRequest = nullptr;
  decltype(&ippPort) Port = nullptr;
  decltype(&httpConnect2) Connect2 = nullptr;
  decltype(&httpSetTimeout) SetTimeout = nullptr;
  decltype(&httpClose) Close = nullptr;
  decltype(&ippNewRequest) NewRequest = nullptr;
  decltype(&ippAddString) AddString = nullptr;
  decltype(&ippAddStrings) AddStrings = nullptr;
  decltype(&ippFindAttribute) FindAttribute = nullptr;
  decltype(&ippGetCollection) GetCollection = nullptr;
  decltype(&ippGetInteger) GetInteger = nullptr;
  decltype(&ippGetString) GetString = nullptr;
  decltype(&ippDelete) Delete = nullptr;
  decltype(&ippGetCount) GetCount = nullptr;
  decltype(&pwgMediaForPWG) MediaForPwg = nullptr;
  decltype(&pwgMediaForLegacy) MediaForLegacy = nullptr;
  decltype(&pwgMediaForPPD) MediaForPpd = nullptr;

  // The library, or null when it cannot be loaded (then no printer is
  // installed as far as lvxprint can tell). Never throws.
  static const CupsLibrary* Get();
};

}  // namespace lvx
