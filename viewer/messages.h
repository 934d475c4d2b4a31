// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "header_records.h"

namespace lvx {

// Title of the fax confirmation.
inline constexpr const char* kFaxTitle = "Invia fax";

// The fax confirmation: "Invio fax a " and the recipient, a single CR,
// "al numero " and the number. Windows-1252 bytes.
std::string FaxQuestion(const HeaderRecords& header);

// The text of "Info Ms&g": the e-mail recipients (cc and bcc lines only
// when set), two empty lines, the sent-date block when the trimmed date is
// not empty, the fax recipient and number, an empty line; every line ends
// with CR LF. Windows-1252 bytes.
std::string InfoMessage(const HeaderRecords& header);

// A YYYYMMDD date shown as DD/MM/YY, from characters 7-8, 5-6 and 3-4 of
// the date with its blanks trimmed; a shorter date gives what it has.
std::string ShownDate(std::string_view mailSentDate);

// A message text for a message box: Windows-1252 bytes to Unicode, each
// CR LF or lone CR a line break.
QString MessageBoxText(std::string_view text);

}  // namespace lvx
