// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_message.h"

#include "cp1252.h"

namespace lvx {
namespace {

constexpr std::string_view kUnknownRecipient = "unknown";

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// Control characters (a lone LF a line may hold, or a NUL, which no
// argument can carry) become blanks, except those in `kept`.
std::string Blanked(std::string_view text, std::string_view kept = {}) {
  std::string out(text);
  for (char& c : out) {
    if (IsControl(c) && kept.find(c) == std::string_view::npos) c = ' ';
  }
  return out;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// "/M:" lines are joined with CR LF; a message body on this system wants LF.
std::string Body(std::string_view lines) {
  std::string body;
  for (std::size_t start = 0;;) {
    const auto end = lines.find("\r\n", start);
    body += Blanked(lines.substr(start, end - start), "\n\t");
    if (end == std::string_view::npos) break;
    body += '\n';
    start = end + 2;
  }
  return body;
}

void AddOption(std::vector<std::string>& arguments, const char* option, std::string value) {
  if (value.empty()) return;
  arguments.emplace_back(option);
  arguments.push_back(std::move(value));
}

}  // namespace

std::vector<std::string> MailAddresses(std::string_view field) {
  std::vector<std::string> addresses;
  if (field == kUnknownRecipient) return addresses;
  const std::string text = Blanked(field);
  bool quoted = false;
  bool angled = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ';';
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '<') angled = true;
    if (!quoted && c == '>') angled = false;
    if ((c == ';' || c == ',') && ((!quoted && !angled) || i == text.size())) {
      if (std::string address = Trimmed(std::string_view(text).substr(start, i - start));
          !address.empty()) {
        addresses.push_back(Utf8From1252(address));
      }
      start = i + 1;
    }
  }
  return addresses;
}

std::vector<std::string> MailArguments(const HeaderRecords& header, const std::string& attachment) {
  // The values are UTF-8 already: xdg-email must not convert them again.
  std::vector<std::string> arguments{"--utf8"};
  for (const std::string& to : MailAddresses(header.MailTo)) AddOption(arguments, "--to", to);
  for (const std::string& cc : MailAddresses(header.MailCc)) AddOption(arguments, "--cc", cc);
  for (const std::string& bcc : MailAddresses(header.MailBcc)) AddOption(arguments, "--bcc", bcc);
  AddOption(arguments, "--subject", Utf8From1252(Trimmed(Blanked(header.MailO))));
  const std::string body = Body(header.MailLines);
  if (body.find_first_not_of(" \t\n") != std::string::npos) {
    AddOption(arguments, "--body", Utf8From1252(body));
  }
  arguments.emplace_back("--attach");
  arguments.push_back(attachment);
  return arguments;
}

}  // namespace lvx
