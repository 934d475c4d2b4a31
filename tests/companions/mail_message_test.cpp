// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail_message.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

using Strings = std::vector<std::string>;

TEST(MailAddresses, SplitAtSemicolonsAndCommasOutsideNames) {
  const struct {
    std::string field;
    Strings addresses;
  } rows[] = {
      {"unknown", {}},
      {"", {}},
      {"   ", {}},
      {"a@x.it", {"a@x.it"}},
      {" a@x.it ; b@y.it,c@z.it ", {"a@x.it", "b@y.it", "c@z.it"}},
      {"a@x.it;;, ;", {"a@x.it"}},
      // A display name may hold the separators inside quotes or brackets.
      {"\"Rossi, Mario\" <m@x.it>; b@y.it", {"\"Rossi, Mario\" <m@x.it>", "b@y.it"}},
      {"Ufficio <odd;name@x.it>", {"Ufficio <odd;name@x.it>"}},
      // An unclosed quote keeps the rest together rather than losing it.
      {"\"open, a@x.it", {"\"open, a@x.it"}},
      // Only the pre-read's own marker means no recipient.
      {"Unknown", {"Unknown"}},
      // Windows-1252 goes over as UTF-8.
      {"Caff\xE8 Rossi <c@x.it>", {"Caff\xC3\xA8 Rossi <c@x.it>"}},
      // Control characters become blanks; an option-like text stays one value.
      {"a@x\nb.it\t", {"a@x b.it"}},
      {"--attach /etc/passwd", {"--attach /etc/passwd"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(MailAddresses(row.field), row.addresses) << row.field;
  }
}

HeaderRecords Header() {
  HeaderRecords header;
  header.MailTo = "unknown";
  return header;
}

TEST(MailArguments, EveryFieldFollowsItsOption) {
  HeaderRecords header = Header();
  header.MailTo = "a@x.it; \"Bianchi, Anna\" <b@x.it>";
  header.MailCc = "c@x.it";
  header.MailBcc = "d@x.it, e@x.it";
  header.MailO = " Fattura n\xB0 17 \x80 ";
  header.MailLines = "Gentile cliente,\r\n\r\nin allegato la fattura.";
  EXPECT_EQ(MailArguments(header, "/run/a.pdf"),
            (Strings{"--utf8", "--to", "a@x.it", "--to", "\"Bianchi, Anna\" <b@x.it>", "--cc",
                     "c@x.it", "--bcc", "d@x.it", "--bcc", "e@x.it", "--subject",
                     "Fattura n\xC2\xB0 17 \xE2\x82\xAC", "--body",
                     "Gentile cliente,\n\nin allegato la fattura.", "--attach", "/run/a.pdf"}));
}

TEST(MailArguments, EmptyFieldsAreLeftOut) {
  const struct {
    std::string to;
    std::string subject;
    std::string lines;
    Strings arguments;
  } rows[] = {
      {"unknown", "", "", {"--utf8", "--attach", "/a.pdf"}},
      {"", " ", "\r\n  \r\n", {"--utf8", "--attach", "/a.pdf"}},
      {"unknown", "s", "", {"--utf8", "--subject", "s", "--attach", "/a.pdf"}},
      {"unknown", "", " x", {"--utf8", "--body", " x", "--attach", "/a.pdf"}},
  };
  for (const auto& row : rows) {
    HeaderRecords header = Header();
    header.MailTo = row.to;
    header.MailO = row.subject;
    header.MailLines = row.lines;
    EXPECT_EQ(MailArguments(header, "/a.pdf"), row.arguments) << row.to << row.lines;
  }
}

TEST(MailArguments, HostileTextGoesOverUnchanged) {
  HeaderRecords header = Header();
  const std::string hostile = "it's \"$(touch pwned)\" `id` $HOME \\ ; | & > x";
  header.MailO = hostile;
  header.MailLines = hostile + "\r\n-n";
  const Strings arguments = MailArguments(header, "/run/it's $(x).pdf");
  EXPECT_EQ(arguments, (Strings{"--utf8", "--subject", hostile, "--body", hostile + "\n-n",
                                "--attach", "/run/it's $(x).pdf"}));
}

TEST(MailArguments, NoByteAnArgumentCannotCarry) {
  HeaderRecords header = Header();
  header.MailO = std::string("a\0b", 3);
  header.MailLines = std::string("one\0\ttwo\nthree", 14);
  EXPECT_EQ(MailArguments(header, "/a.pdf"), (Strings{"--utf8", "--subject", "a b", "--body",
                                                      "one \ttwo\nthree", "--attach", "/a.pdf"}));
}

}  // namespace
}  // namespace lvx
