// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include "cp1252.h"

namespace lvx {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Characters `from` (1-based) and the next one, or as many as there are.
std::string_view TwoFrom(std::string_view text, std::size_t from) {
  return from - 1 < text.size() ? text.substr(from - 1, 2) : std::string_view();
}

}  // namespace

std::string FaxQuestion(const HeaderRecords& header) {
  return "Invio fax a " + header.FaxTo + "\r" + "al numero " + header.FaxNumber;
}

std::string ShownDate(std::string_view mailSentDate) {
  const std::string_view date = TrimBlanks(mailSentDate);
  std::string shown(TwoFrom(date, 7));
  shown += '/';
  shown += TwoFrom(date, 5);
  shown += '/';
  shown += TwoFrom(date, 3);
  return shown;
}

std::string InfoMessage(const HeaderRecords& header) {
  std::string text = "E-mail to : " + header.MailTo + kLineEnd;
  if (!header.MailCc.empty()) text += "          cc : " + header.MailCc + kLineEnd;
  if (!header.MailBcc.empty()) text += "        bcc : " + header.MailBcc + kLineEnd;
  text += kLineEnd;
  text += kLineEnd;
  if (!TrimBlanks(header.MailSentDate).empty()) {
    text += std::string(" ") + kLineEnd;
    text += " e-mail inviata il : " + ShownDate(header.MailSentDate) + " alle " +
            header.MailSentTime + kLineEnd;
    text += " da : " + header.MailFromU + " / " + header.MailFromP + kLineEnd;
    text += std::string(" ") + kLineEnd;
  }
  text += "Fax to : " + header.FaxTo + kLineEnd;
  text += "       nr.: " + header.FaxNumber + kLineEnd;
  text += kLineEnd;
  return text;
}

QString MessageBoxText(std::string_view text) {
  QString unicode = QString::fromStdString(Utf8From1252(text));
  unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  unicode.replace(u'\r', u'\n');
  return unicode;
}

}  // namespace lvx
