// SPDX-License-Identifier: GPL-3.0-or-later
#include "pick_command_line.h"

#include "command_line.h"
#include "cp1252.h"

namespace lvx {

bool HideCopiesRequested(std::string_view commandText) {
  const std::string arguments = CommandArguments(commandText);
  return UpperCase1252(arguments).find("/NOCOPIES") != std::string::npos;
}

}  // namespace lvx
