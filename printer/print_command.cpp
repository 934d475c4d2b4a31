// SPDX-License-Identifier: GPL-3.0-or-later
#include "print_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "convert.h"
#include "cp1252.h"
#include "scan_error.h"

namespace lvx {
namespace {

constexpr std::string_view kCopiesKey = "/C:";

std::int16_t CopiesFrom(std::string_view text) {
  try {
    return ToPoints(ToNumber(text));
  } catch (const ScanError&) {
    return 0;
  }
}

std::string Absolute(std::string_view path, std::string_view startFolder) {
  if (path.front() == '/' || startFolder.empty()) return std::string(path);
  std::string absolute(startFolder);
  if (absolute.back() != '/') absolute += '/';
  return absolute += path;
}

}  // namespace

PrintCommand ParsePrintCommand(std::string_view commandText, std::string_view startFolder) {
  PrintCommand command;
  const auto text = ArgumentText(commandText);
  if (!text) {
    command.tooLong = true;
    return command;
  }
  // A "/C:" inside the path ("/mnt/c:/") is part of a folder's name; blanks
  // before the key stay with the path.
  const auto key = FindArgumentKey(UpperCase1252(*text), kCopiesKey);
  const std::string path = WithoutQuotes(text->substr(0, key), true, key == std::string::npos);
  if (key != std::string::npos) {
    const std::string copies = WithoutQuotes(text->substr(key + kCopiesKey.size()), false, true);
    if (!copies.empty()) command.copies = CopiesFrom(copies);
  }
  if (path.empty()) return command;
  command.DocPath = Absolute(path, startFolder);
  const auto slash = command.DocPath.rfind('/');
  if (slash == std::string::npos) {
    command.DocFileName = command.DocPath;
    command.DocFolder = std::string(startFolder);
  } else {
    command.DocFileName = command.DocPath.substr(slash + 1);
    command.DocFolder = FolderOf(command.DocPath);
  }
  return command;
}

std::string FolderOf(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string ChangeFolder(const std::string& folder) {
  if (folder.empty()) return "no folder";
  if (::chdir(folder.c_str()) != 0) return std::strerror(errno);
  return {};
}

std::int16_t CopiesForRun(std::int16_t commandCopies, std::int16_t settingsCopies) {
  const std::int16_t copies = commandCopies != 0 ? commandCopies : settingsCopies;
  return copies < 1 || copies > 99 ? 1 : copies;
}

}  // namespace lvx
