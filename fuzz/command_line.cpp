// SPDX-License-Identifier: GPL-3.0-or-later
// The command texts of the three programs.
#include "command_line.h"
#include "command_text.h"
#include "fuzz_support.h"
#include "pick_command_line.h"
#include "print_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string path = lvx::CommandArguments(text);
  if (path.size() > lvx::kCommandTextLimit) std::abort();
  (void)lvx::SplitDocumentPath(path, "/start");
  const auto print = lvx::ParsePrintCommand(text, "/start");
  if (!print.DocPath.empty() && print.DocPath.front() != '/') std::abort();
  (void)lvx::CopiesForRun(print.copies, 3);
  (void)lvx::HideCopiesRequested(text);
  return 0;
}
