// SPDX-License-Identifier: GPL-3.0-or-later
// What "&Stampa" tells of lvxprint's end: through a stand-in notification
// service on a private session bus, and without one.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUuid>

#include "print_feedback.h"
#include "window_fixture.h"

namespace lvx {
namespace {

using testing::WindowFixture;

TEST(NoticeFor, WhatTheUserIsToldOfARun) {
  const auto ran = [](int status, const char* out, const char* err, std::int64_t ms) {
    PrintOutcome outcome;
    outcome.status = status;
    outcome.out = out;
    outcome.err = err;
    outcome.elapsedMs = ms;
    return outcome;
  };
  PrintOutcome notStarted;
  notStarted.started = false;
  notStarted.startError = "No such file or directory";
  PrintOutcome killed;
  killed.signalled = true;
  killed.status = 9;
  const QString failed = QStringLiteral("Stampa non riuscita");
  struct Row {
    const char* name;
    PrintOutcome outcome;
    std::optional<PrintNotice> expected;
  };
  const Row rows[] = {
      {"failure: the last line of standard error",
       ran(3, "", "warning\nlvxprint: the printer P did not take the job: gone  \n\n", 10),
       PrintNotice{failed, "lvxprint: the printer P did not take the job: gone", true}},
      {"failure without a word", ran(1, "", "", 10),
       PrintNotice{failed, "lvxprint è terminato con lo stato 1", true}},
      {"failure: standard output does not count",
       ran(2, "lvxprint: no printer installed; the job is in /d/a.pdf\n", "", 10),
       PrintNotice{failed, "lvxprint è terminato con lo stato 2", true}},
      {"ended by a signal", killed,
       PrintNotice{failed, "lvxprint si è interrotto (segnale 9)", true}},
      {"not started", notStarted,
       PrintNotice{failed, "lvxprint non si avvia: No such file or directory", true}},
      {"PDF beside the document, even when quick",
       ran(0, "lvxprint: no printer installed; the job is in /d/a b-2.pdf\n", "", 10),
       PrintNotice{"Nessuna stampante installata", "La stampa è stata salvata in /d/a b-2.pdf",
                   false}},
      {"handed over at once", ran(0, "", "", 300), std::nullopt},
      {"handed over in exactly two seconds", ran(0, "", "", kQuietPrintMs), std::nullopt},
      {"slow, with a confirmation line", ran(0, "lvxprint: sent to P\n", "", kQuietPrintMs + 1),
       PrintNotice{"Stampa inviata", "lvxprint: sent to P", false}},
      {"slow, without a word", ran(0, "", "", 5000),
       PrintNotice{"Stampa inviata", "a.lvx inviato alla stampante", false}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto notice = NoticeFor(row.outcome, QStringLiteral("a.lvx"));
    ASSERT_EQ(notice.has_value(), row.expected.has_value());
    if (!notice) continue;
    EXPECT_EQ(notice->title, row.expected->title);
    EXPECT_EQ(notice->body, row.expected->body);
    EXPECT_EQ(notice->failure, row.expected->failure);
  }
}

// A private session bus made by dbus-run-session, which ends with the
// stand-in it runs; with `service` the stand-in owns the notification
// service's name, writing to `log`.
class PrivateBus {
 public:
  PrivateBus(bool service, const std::string& log) {
    session_.start(QStringLiteral("dbus-run-session"),
                   {"--", NOTIFICATION_STANDIN,
                    service ? QString::fromStdString(log) : QStringLiteral("--no-service")});
    while (session_.state() != QProcess::NotRunning && !session_.canReadLine()) {
      if (!session_.waitForReadyRead(5000)) break;
    }
    const QByteArray line = session_.readLine().trimmed();
    const QList<QByteArray> words = line.split(' ');
    if (words.size() == 3 && words[0] == "ready") {
      standIn_ = words[1].toInt();
      address_ = QString::fromLatin1(words[2]);
    }
    name_ = QUuid::createUuid().toString();
  }
  ~PrivateBus() {
    QDBusConnection::disconnectFromBus(name_);
    // When the stand-in ends, dbus-run-session ends the bus.
    if (standIn_ > 0) ::kill(standIn_, SIGTERM);
    session_.closeWriteChannel();
    if (!session_.waitForFinished(5000)) session_.kill();
  }
  QDBusConnection Connection() const { return QDBusConnection::connectToBus(address_, name_); }
  bool Up() const { return !address_.isEmpty(); }

 private:
  QProcess session_;
  QString address_;
  QString name_;
  pid_t standIn_ = 0;
};

// Shorter than the viewer's own limit, so that a slow job takes no seconds.
constexpr std::int64_t kQuietMs = 300;

// The viewer's windows with a stand-in lvxprint; what falls back to a
// message box is kept.
struct Printing : WindowFixture {
  std::string log = dir.path() + "/notifications.log";
  std::vector<PrintNotice> boxes;

  Printing() {
    Open(Doc("fattura 7.lvx", "*TEXT /X:10 /Y:10 /T:x\r\n"));
    page().printFeedback().SetFallback([this](const PrintNotice& n) { boxes.push_back(n); });
    page().printFeedback().SetQuietMs(kQuietMs);
  }
  // Clicks "&Stampa" and waits until the run has ended and its notice went.
  void Print(const std::string& lvxprintScript) {
    FakeProgram("lvxprint", lvxprintScript);
    QSignalSpy ended(&page().printFeedback(), &PrintFeedback::PrintEnded);
    Click(page(), "Command4");
    EXPECT_EQ(page().Busy, 0);
    EXPECT_TRUE(ended.wait(10000));
    // The bus's answer comes after the end.
    QTest::qWait(300);
  }
  std::string Logged() const {
    return std::filesystem::exists(log) ? testing::ReadAll(log) : std::string();
  }
};

bool HaveBusDaemon() {
  return !QStandardPaths::findExecutable("dbus-run-session").isEmpty();
}

struct Case {
  const char* name;
  const char* script;
  // The line the service records, or the message box's title and text.
  const char* expected;
};

const Case kCases[] = {
    {"failure", "echo 'lvxprint: the printer P did not take the job: gone' >&2; exit 3",
     "Stampa non riuscita\tlvxprint: the printer P did not take the job: gone\n"},
    {"PDF beside the document",
     "echo \"lvxprint: no printer installed; the job is in ${1%.lvx}.pdf\"",
     "Nessuna stampante installata\tLa stampa è stata salvata in @DOCS@/fattura 7.pdf\n"},
    {"slow hand-over", "sleep 0.5", "Stampa inviata\tfattura 7.lvx inviato alla stampante\n"},
    {"quick hand-over", "true", ""},
};

std::string Expected(const Case& c, const Printing& f) {
  std::string text = c.expected;
  if (const auto at = text.find("@DOCS@"); at != std::string::npos) text.replace(at, 6, f.docs);
  return text;
}

TEST(PrintFeedback, NotificationsGoToTheServiceOnTheSessionBus) {
  if (!HaveBusDaemon()) GTEST_SKIP() << "needs dbus-run-session (scripts/install-deps installs it)";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Printing f;
    PrivateBus bus(true, f.log);
    ASSERT_TRUE(bus.Up());
    f.page().printFeedback().SetBus(bus.Connection());
    f.Print(c.script);
    EXPECT_EQ(f.Logged(), Expected(c, f));
    EXPECT_TRUE(f.boxes.empty());
  }
}

TEST(PrintFeedback, WithoutANotificationServiceAMessageBoxTells) {
  if (!HaveBusDaemon()) GTEST_SKIP() << "needs dbus-run-session (scripts/install-deps installs it)";
  for (const bool busUp : {true, false}) {
    for (const Case& c : kCases) {
      SCOPED_TRACE(std::string(c.name) + (busUp ? ", bus without the service" : ", no bus"));
      Printing f;
      PrivateBus bus(false, f.log);
      ASSERT_TRUE(bus.Up());
      f.page().printFeedback().SetBus(
          busUp ? bus.Connection()
                : QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                QStringLiteral("lvx-no-bus")));
      f.Print(c.script);
      std::string shown;
      for (const PrintNotice& n : f.boxes)
        shown += (n.title + u'\t' + n.body + u'\n').toStdString();
      EXPECT_EQ(shown, Expected(c, f));
    }
  }
}

TEST(PrintFeedback, AMissingLvxprintIsReported) {
  Printing f;
  f.page().printFeedback().SetBus(QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("lvx-no-bus")));
  QSignalSpy ended(&f.page().printFeedback(), &PrintFeedback::PrintEnded);
  WindowFixture::Click(f.page(), "Command4");
  ASSERT_TRUE(ended.wait(5000));
  ASSERT_EQ(f.boxes.size(), 1U);
  EXPECT_EQ(f.boxes[0].title, "Stampa non riuscita");
  EXPECT_TRUE(f.boxes[0].body.startsWith("lvxprint non si avvia: "))
      << f.boxes[0].body.toStdString();
  EXPECT_EQ(f.page().Busy, 0);
}

}  // namespace
}  // namespace lvx
