// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lvx {

// What lvxpdf takes from its arguments: DOCUMENT [--output FILE] [--no-open],
// options before or after the document ("--output=FILE" too; "--" ends
// the options). Paths are made absolute against the start folder.
struct PdfCommand {
  std::string document;
  std::string output;  // empty: beside the document
  bool open = true;
  std::string error;  // why the arguments are unusable; empty when they are fine
};

// What lvxmail takes from its arguments: DOCUMENT, and "/T:n" (any letter
// case, anywhere), which is accepted and ignored.
struct MailCommand {
  std::string document;
  std::string error;
};

// `arguments` are the program's arguments without its name; `startFolder`
// the absolute folder it started in. Never throw.
PdfCommand ParsePdfCommand(const std::vector<std::string>& arguments, std::string_view startFolder);
MailCommand ParseMailCommand(const std::vector<std::string>& arguments,
                             std::string_view startFolder);

// `path` made absolute against `folder`; empty stays empty.
std::string AbsolutePath(std::string_view path, std::string_view folder);

}  // namespace lvx
