// SPDX-License-Identifier: GPL-3.0-or-later
// The viewer's pre-read of a document's fax, e-mail and information records.
#include "fuzz_support.h"
#include "header_records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lvx::HeaderRecords header;
  header.ReadHeaderRecords(lvx::fuzz::WriteScratch("doc.lvx", bytes));
  if (header.MailTo.empty()) std::abort();  // "unknown" at the least
  return 0;
}
