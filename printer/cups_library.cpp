// SPDX-License-Identifier: GPL-3.0-or-later
#include "cups_library.h"

#include <dlfcn.h>

namespace lvx {
namespace {

template <class Function>
bool Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  return function != nullptr;
}

CupsLibrary Load() {
  CupsLibrary cups;
  void* library = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return cups;
  const bool bound =
      Bind(library, "cupsGetDests2", cups.GetDests2) &&
      Bind(library, "cupsFreeDests", cups.FreeDests) &&
      Bind(library, "cupsGetNamedDest", cups.GetNamedDest) &&
      Bind(library, "cupsAddOption", cups.AddOption) &&
      Bind(library, "cupsGetOption", cups.GetOption) &&
      Bind(library, "cupsFreeOptions", cups.FreeOptions) &&
      Bind(library, "cupsPrintFile2", cups.PrintFile2) &&
      Bind(library, "cupsLastError", cups.LastError) &&
      Bind(library, "cupsLastErrorString", cups.LastErrorString) &&
      Bind(library, "cupsServer", cups.Server) &&
      Bind(library, "cupsEncryption", cups.Encryption) &&
      Bind(library, "cupsDoRequest", cups.DoRequest) && Bind(library, "ippPort", cups.Port) &&
      Bind(library, "httpConnect2", cups.Connect2) &&
      Bind(library, "httpSetTimeout", cups.SetTimeout) && Bind(library, "httpClose", cups.Close) &&
      Bind(library, "ippNewRequest", cups.NewRequest) &&
      Bind(library, "ippAddString", cups.AddString) &&
      Bind(library, "ippAddStrings", cups.AddStrings) &&
      Bind(library, "ippFindAttribute", cups.FindAttribute) &&
      Bind(library, "ippGetCollection", cups.GetCollection) &&
      Bind(library, "ippGetInteger", cups.GetInteger) &&
      Bind(library, "ippGetString", cups.GetString) && Bind(library, "ippDelete", cups.Delete) &&
      Bind(library, "ippGetCount", cups.GetCount) &&
      Bind(library, "pwgMediaForPWG", cups.MediaForPwg) &&
      Bind(library, "pwgMediaForLegacy", cups.MediaForLegacy) &&
      Bind(library, "pwgMediaForPPD", cups.MediaForPpd);
  // The library stays loaded for the rest of the process either way.
  if (!bound) cups.GetDests2 = nullptr;
  return cups;
}

}  // namespace

const CupsLibrary* CupsLibrary::Get() {
  static const CupsLibrary cups = Load();
  return cups.GetDests2 != nullptr ? &cups : nullptr;
}

}  // namespace lvx
