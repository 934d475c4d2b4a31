// SPDX-License-Identifier: GPL-3.0-or-later
#include "tail_keys.h"

#include <algorithm>
#include <array>

#include "cp1252.h"

namespace lvx {
namespace {

// Every key the record handlers and readers search for.
constexpr std::array<std::string_view, 27> kKeys = {
    "*ORIENTATION", "*BOX", "*TEXT", "*FONT", "*IMAGE", "*MERGE", "*PAGE", "*",   "#EOD",
    "/X:",          "/Y:",  "/W:",   "/H:",   "/C:",    "/F",     "/R:",   "/D:", "/T:",
    "/PAGE",        "/N:",  "/S:",   "/I",    "/B",     "/U",     "/T",    "/V",  "/H"};
constexpr std::size_t kLongestKey = 12;

bool StartsKey(char c) {
  return c == '*' || c == '/' || c == '#';
}

int IndexOf(std::string_view key) {
  const auto* at = std::find(kKeys.begin(), kKeys.end(), key);
  return at == kKeys.end() ? -1 : static_cast<int>(at - kKeys.begin());
}

}  // namespace

void TailKeys::Start(std::string_view keptEnd) {
  found_ = 0;
  const std::size_t keep = std::min(keptEnd.size(), kLongestKey - 1);
  carry_ = UpperCase1252(keptEnd.substr(keptEnd.size() - keep));
}

void TailKeys::Scan(std::string_view bytes) {
  std::string text = carry_;
  text += UpperCase1252(bytes);
  // Keys wholly inside the carried bytes were seen before; finding them
  // again sets nothing new.
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!StartsKey(text[at])) continue;
    const std::string_view rest(text.data() + at, text.size() - at);
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
      if (rest.substr(0, kKeys[k].size()) == kKeys[k]) found_ |= std::uint64_t{1} << k;
    }
  }
  const std::size_t keep = std::min(text.size(), kLongestKey - 1);
  carry_ = text.substr(text.size() - keep);
}

bool TailKeys::Has(std::string_view key) const {
  const int index = IndexOf(key);
  return index < 0 || (found_ & (std::uint64_t{1} << index)) != 0;
}

}  // namespace lvx
