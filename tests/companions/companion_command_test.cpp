// SPDX-License-Identifier: GPL-3.0-or-later
#include "companion_command.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

using Arguments = std::vector<std::string>;

TEST(PdfCommand, ArgumentsInAnyOrder) {
  const struct {
    Arguments arguments;
    std::string document;
    std::string output;
    bool open;
    std::string error;
  } rows[] = {
      {{"a.lvx"}, "/start/a.lvx", "", true, ""},
      {{"/docs/a.lvx", "--no-open"}, "/docs/a.lvx", "", false, ""},
      {{"--output", "o.pdf", "a.lvx"}, "/start/a.lvx", "/start/o.pdf", true, ""},
      {{"a.lvx", "--output=/out/o.pdf", "--no-open"}, "/start/a.lvx", "/out/o.pdf", false, ""},
      // The file name after --output is taken whatever it looks like.
      {{"a.lvx", "--output", "--no-open"}, "/start/a.lvx", "/start/--no-open", true, ""},
      // Shell characters are just characters of a name.
      {{"a b; $(x) `y`.lvx"}, "/start/a b; $(x) `y`.lvx", "", true, ""},
      {{"--", "--odd.lvx"}, "/start/--odd.lvx", "", true, ""},
      {{"-"}, "/start/-", "", true, ""},
      // Unusable arguments.
      {{}, "", "", true, "no document given"},
      {{"--no-open"}, "", "", false, "no document given"},
      {{"a.lvx", "b.lvx"}, "/start/a.lvx", "", true, "more than one document given: b.lvx"},
      {{"a.lvx", "--output"}, "/start/a.lvx", "", true, "--output needs a file name"},
      {{"a.lvx", "--output="}, "/start/a.lvx", "", true, "--output needs a file name"},
      {{"--colour", "a.lvx"}, "", "", true, "unknown option --colour"},
      {{""}, "", "", true, "an empty document name"},
  };
  for (const auto& row : rows) {
    const PdfCommand command = ParsePdfCommand(row.arguments, "/start");
    const std::string label = ::testing::PrintToString(row.arguments);
    EXPECT_EQ(command.error, row.error) << label;
    EXPECT_EQ(command.document, row.document) << label;
    EXPECT_EQ(command.output, row.output) << label;
    EXPECT_EQ(command.open, row.open) << label;
  }
}

TEST(MailCommand, SlashTIsIgnoredWhereverItStands) {
  const struct {
    Arguments arguments;
    std::string document;
    std::string error;
  } rows[] = {
      {{"/docs/a b.lvx", "/T:2"}, "/docs/a b.lvx", ""},
      {{"/t:9", "a.lvx"}, "/start/a.lvx", ""},
      {{"a.lvx", "/T:"}, "/start/a.lvx", ""},
      {{"/T:2"}, "", "no document given"},
      {{}, "", "no document given"},
      {{"a.lvx", "b.lvx"}, "/start/a.lvx", "more than one document given: b.lvx"},
  };
  for (const auto& row : rows) {
    const MailCommand command = ParseMailCommand(row.arguments, "/start");
    const std::string label = ::testing::PrintToString(row.arguments);
    EXPECT_EQ(command.error, row.error) << label;
    EXPECT_EQ(command.document, row.document) << label;
  }
}

TEST(AbsolutePath, RelativeNamesJoinTheFolder) {
  EXPECT_EQ(AbsolutePath("a.lvx", "/"), "/a.lvx");
  EXPECT_EQ(AbsolutePath("sub/a.lvx", "/start/"), "/start/sub/a.lvx");
  EXPECT_EQ(AbsolutePath("/abs.lvx", "/start"), "/abs.lvx");
  EXPECT_EQ(AbsolutePath("", "/start"), "");
}

}  // namespace
}  // namespace lvx
