// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_folder.h"

#include <filesystem>

namespace lvx::testing {

namespace fs = std::filesystem;

namespace {

// The stand-ins come first on PATH, unless a test sets PATH itself.
std::map<std::string, std::string> WithPath(const std::string& bin,
                                            std::map<std::string, std::string> extra) {
  if (!extra.contains("PATH")) extra["PATH"] = bin + ":/usr/bin:/bin";
  return extra;
}

}  // namespace

CompanionFolder::CompanionFolder()
    : lvxpdf(AddProgram(LVXPDF_BINARY)), lvxmail(AddProgram(LVXMAIL_BINARY)) {
  fs::create_directories(bin);
}

void CompanionFolder::StandIn(const std::string& name, const std::string& then) const {
  const std::string script =
      dir.Write("bin/" + name,
                "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\"\n"
                "/bin/mv \"$0.part\" \"$0.args\"\n" +
                    then + "\n");
  fs::permissions(script, fs::perms::owner_all);
}

std::optional<std::vector<std::string>> CompanionFolder::Given(const std::string& name) const {
  const std::string args = bin + "/" + name + ".args";
  if (!fs::exists(args)) return std::nullopt;
  return SplitAtNul(ReadAll(args));
}

RunResult CompanionFolder::Pdf(const std::vector<std::string>& arguments,
                               const std::map<std::string, std::string>& extra) const {
  return RunProgram(lvxpdf, arguments, WithPath(bin, extra));
}

RunResult CompanionFolder::Mail(const std::vector<std::string>& arguments,
                                const std::map<std::string, std::string>& extra) const {
  return RunProgram(lvxmail, arguments, WithPath(bin, extra));
}

}  // namespace lvx::testing
