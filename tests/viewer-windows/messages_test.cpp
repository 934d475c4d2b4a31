// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <gtest/gtest.h>

namespace lvx {
namespace {

HeaderRecords Header() {
  HeaderRecords header;
  header.MailTo = "vendite@example.com";
  header.FaxTo = "Rossi & Figli";
  header.FaxNumber = "02 1234567";
  return header;
}

TEST(FaxQuestion, TwoLinesJoinedByASingleCarriageReturn) {
  EXPECT_EQ(FaxQuestion(Header()), "Invio fax a Rossi & Figli\ral numero 02 1234567");
  EXPECT_EQ(FaxQuestion(HeaderRecords()), "Invio fax a \ral numero ");
  EXPECT_STREQ(kFaxTitle, "Invia fax");
}

TEST(InfoMessage, CcShownBccLeftOutWithoutDate) {
  HeaderRecords header = Header();
  header.MailCc = "ufficio@example.com";
  EXPECT_EQ(InfoMessage(header),
            "E-mail to : vendite@example.com\r\n"
            "          cc : ufficio@example.com\r\n"
            "\r\n"
            "\r\n"
            "Fax to : Rossi & Figli\r\n"
            "       nr.: 02 1234567\r\n"
            "\r\n");
}

TEST(InfoMessage, BccAndTheSentDateBlock) {
  HeaderRecords header = Header();
  header.MailBcc = "archivio@example.com";
  header.MailSentDate = "20061208";
  header.MailSentTime = "17:45";
  header.MailFromU = "mario";
  header.MailFromP = "Ufficio vendite";
  const std::string expected =
      "E-mail to : vendite@example.com\r\n"
      "        bcc : archivio@example.com\r\n"
      "\r\n"
      "\r\n"
      " \r\n"
      " e-mail inviata il : 08/12/06 alle 17:45\r\n"
      " da : mario / Ufficio vendite\r\n"
      " \r\n"
      "Fax to : Rossi & Figli\r\n"
      "       nr.: 02 1234567\r\n"
      "\r\n";
  EXPECT_EQ(InfoMessage(header), expected);
  // The fields are only read: the same text every time.
  EXPECT_EQ(InfoMessage(header), expected);
}

TEST(InfoMessage, DateOfBlanksLeavesTheSentDateBlockOut) {
  HeaderRecords header;
  header.MailTo = "unknown";
  header.MailSentDate = "        ";
  header.MailSentTime = "09:00";
  EXPECT_EQ(InfoMessage(header),
            "E-mail to : unknown\r\n"
            "\r\n"
            "\r\n"
            "Fax to : \r\n"
            "       nr.: \r\n"
            "\r\n");
}

TEST(ShownDate, DayMonthYearFromTheTrimmedDate) {
  const struct {
    const char* date;
    const char* shown;
  } rows[] = {
      {"20061208", "08/12/06"},
      {"  20061208  ", "08/12/06"},
      {"2006120", "0/12/06"},
      {"2006", "//06"},
      {"20", "//"},
      {"200612081530", "08/12/06"},
  };
  for (const auto& row : rows) EXPECT_EQ(ShownDate(row.date), row.shown) << row.date;
}

TEST(MessageBoxText, LineEndsBecomeLineBreaksAndBytesWindows1252) {
  EXPECT_EQ(MessageBoxText("a\r\nb\rc\r\n"), QStringLiteral("a\nb\nc\n"));
  EXPECT_EQ(MessageBoxText("Caff\xE8 \x80"), QString::fromUtf8("Caffè €"));
}

}  // namespace
}  // namespace lvx
