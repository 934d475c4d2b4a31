// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_command.h"

#include "cp1252.h"

namespace lvx {
namespace {

constexpr std::string_view kOutput = "--output";
constexpr std::string_view kOutputIs = "--output=";

// Stores the one document, or says why it cannot be taken.
void TakeDocument(const std::string& argument, std::string_view startFolder, std::string& document,
                  std::string& error) {
  if (!document.empty()) {
    error = "more than one document given: " + argument;
  } else if (argument.empty()) {
    error = "an empty document name";
  } else {
    document = AbsolutePath(argument, startFolder);
  }
}

}  // namespace

std::string AbsolutePath(std::string_view path, std::string_view folder) {
  if (path.empty() || path.front() == '/' || folder.empty()) return std::string(path);
  std::string absolute(folder);
  if (absolute.back() != '/') absolute += '/';
  return absolute += path;
}

PdfCommand ParsePdfCommand(const std::vector<std::string>& arguments,
                           std::string_view startFolder) {
  PdfCommand command;
  bool options = true;
  for (std::size_t i = 0; i < arguments.size() && command.error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && argument == "--no-open") {
      command.open = false;
    } else if (options && (argument == kOutput || argument.starts_with(kOutputIs))) {
      std::string file = argument == kOutput ? (i + 1 < arguments.size() ? arguments[++i] : "")
                                             : argument.substr(kOutputIs.size());
      if (file.empty()) command.error = "--output needs a file name";
      command.output = AbsolutePath(file, startFolder);
    } else if (options && argument.starts_with("--")) {
      command.error = "unknown option " + argument;
    } else {
      TakeDocument(argument, startFolder, command.document, command.error);
    }
  }
  if (command.error.empty() && command.document.empty()) command.error = "no document given";
  return command;
}

MailCommand ParseMailCommand(const std::vector<std::string>& arguments,
                             std::string_view startFolder) {
  MailCommand command;
  for (const std::string& argument : arguments) {
    // The viewer adds "/T:2"; it asks for nothing here.
    if (UpperCase1252(argument).starts_with("/T:")) continue;
    TakeDocument(argument, startFolder, command.document, command.error);
    if (!command.error.empty()) break;
  }
  if (command.error.empty() && command.document.empty()) command.error = "no document given";
  return command;
}

}  // namespace lvx
