// SPDX-License-Identifier: GPL-3.0-or-later
#include "doc_list.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "cp1252.h"

namespace lvx {
namespace {

// Built from UpperByte1252 so that the two can never disagree.
std::array<unsigned char, 256> LowerTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 0; c < 256; ++c) {
    const unsigned char upper = UpperByte1252(static_cast<unsigned char>(c));
    if (upper != c) table[upper] = static_cast<unsigned char>(c);
  }
  return table;
}

bool IsDocumentName(std::string_view name) {
  constexpr std::string_view kExtension = ".LVX";
  if (name.empty() || name.front() == '.' || name.size() <= kExtension.size()) return false;
  return UpperCase1252(name.substr(name.size() - kExtension.size())) == kExtension;
}

}  // namespace

std::string LowerCase1252(std::string_view text) {
  static const std::array<unsigned char, 256> kLower = LowerTable();
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
  return out;
}

std::vector<std::string> ListDocuments(const std::string& folder, std::size_t limit) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator entry(folder.empty() ? "." : folder, error);
  for (; !error && entry != std::filesystem::directory_iterator() && names.size() < limit;
       entry.increment(error)) {
    std::string name = entry->path().filename().string();
    std::error_code kindError;
    if (IsDocumentName(name) && entry->is_regular_file(kindError)) names.push_back(std::move(name));
  }
  return names;
}

std::vector<std::string> SortedDocList(std::string_view prefix,
                                       const std::vector<std::string>& names) {
  std::vector<std::string> docList;
  docList.reserve(names.size() + 1);
  docList.emplace_back();
  for (const auto& name : names) docList.push_back(LowerCase1252(std::string(prefix) + name));
  // std::string compares bytes as unsigned values: the plain character-code order.
  std::sort(docList.begin() + 1, docList.end());
  return docList;
}

std::int16_t FindDocIndex(const std::vector<std::string>& docList, std::string_view path) {
  const std::string wanted = UpperCase1252(path);
  std::int16_t index = 0;
  for (std::size_t k = 1; k < docList.size(); ++k) {
    if (UpperCase1252(docList[k]) == wanted) index = static_cast<std::int16_t>(k);
  }
  return index;
}

}  // namespace lvx
