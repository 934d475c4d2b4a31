// SPDX-License-Identifier: GPL-3.0-or-later
// A whole document printed in two copies, its merges reading itself.
#include "print_run.h"
#include "fuzz_support.h"

namespace {

class CountingControl : public lvx::SheetControl {
 public:
  void SetOrientation(std::int16_t orientation) override {
    if (orientation != 1 && orientation != 2) std::abort();
  }
  void NewPage() override { ++pages; }
  long pages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string doc = lvx::fuzz::WriteScratch("doc.lvx", bytes);
  lvx::fuzz::WriteScratch("m.lvx", bytes);
  lvx::fuzz::CheckingView view;
  CountingControl control;
  lvx::PrintRun run(view, control, nullptr);
  if (!run.Run(doc, lvx::fuzz::ScratchFolder(), 2)) std::abort();
  return 0;
}
