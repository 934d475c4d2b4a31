// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "header_records.h"

namespace lvx {

// The addresses of a recipient field (Windows-1252, as the document holds
// it), in UTF-8: split at ";" and "," outside double quotes and angle
// brackets, blanks trimmed, control characters made blanks, empty ones
// left out. The pre-read's "unknown" (no recipient) gives none.
std::vector<std::string> MailAddresses(std::string_view field);

// The arguments for xdg-email (without the program's name) that make a new
// message from the document's "*EMAIL" records: "/T:" recipients, "/C:" cc,
// "/B:" bcc, "/O:" subject, the "/M:" lines as the body, and `attachment`
// (a path of this system) attached. Text goes over as UTF-8 and empty
// fields are left out: xdg-email refuses empty values. No value can be
// taken for an option, since each follows the option it belongs to.
std::vector<std::string> MailArguments(const HeaderRecords& header, const std::string& attachment);

}  // namespace lvx
