// Send in the bug report window, as the user presses it, against real SMTP
// servers on loopback: what arrives, what the window says, and that it is
// ready again after every failure.
#include <gtest/gtest.h>

#include <memory>

#include "Reg.h"
#include "BugReportTestUtil.h"
#include "BugReportTexts.h"
#include "Settings.h"
#include "SmtpTestServers.h"
#include "ufBugReport.h"

namespace {

const std::string User = "user@example.org";

class BugReportSend : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }
  void SetUp() override {
    REQUIRE_SMTP_SERVERS();
    for (const char* mode : {"normal", "helo", "refuse", "drop", "silent"}) TSmtpTestServers::Clear(mode);
    DeleteProductKey();
    Open();
  }
  void TearDown() override {
    Form.reset();
    DeleteProductKey();
  }
  void Open() {
    Form = std::make_unique<TfBugReport>();
    Form->SMTP.Timeout = 5000;
    Form->Show();
    Application.ProcessMessages();
  }
  // Types the fields (those given) and presses Send; every box is answered
  // with OK and returned.
  std::vector<TBox> Send(const std::string& report, const std::string* server = nullptr,
                         const std::string* address = nullptr) {
    Form->Memo.SetText(report);
    if (server) Form->ServeurSMTP.SetText(*server);
    if (address) Form->email.SetText(*address);
    TBoxRecorder boxes;
    ClickButton(Form->Envoyer);
    return boxes.Boxes;
  }
  std::string Status() const { return Form->StatusBar.PanelText(0); }
  bool ReadyAgain() const {
    return Form->Envoyer.Enabled() && Form->Annuler.Enabled() && !Form->SMTP.Busy() && !Form->Sending();
  }

  std::unique_ptr<TfBugReport> Form;
};

// The header lines of a message, and its body.
std::pair<std::vector<std::string>, std::string> Split(const std::string& data) {
  size_t end = data.find("\r\n\r\n");
  std::vector<std::string> lines;
  for (size_t start = 0; start < end;) {
    size_t eol = data.find("\r\n", start);
    lines.push_back(data.substr(start, eol - start));
    start = eol + 2;
  }
  return {lines, end == std::string::npos ? std::string() : data.substr(end + 4)};
}

TEST_F(BugReportSend, ReportsArriveWithTheirHeadersAndLaterOnesReuseTheSession) {
  const std::string server = TSmtpTestServers::Address("normal");
  const std::string report = "It crashed.\r\n.dpr files were open\r\n\xC9t\xE9 \x80 100";
  EXPECT_EQ(Send(report, &server, &User), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));
  EXPECT_EQ(Form->ModalResult, mrOk);
  EXPECT_FALSE(Form->Visible());
  // Ready again, with nothing to send: the report went.
  EXPECT_TRUE(Form->Annuler.Enabled() && !Form->SMTP.Busy() && !Form->Sending());
  EXPECT_FALSE(Form->Envoyer.Enabled());

  auto mails = TSmtpTestServers::Mails("normal");
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].From, User);
  EXPECT_EQ(mails[0].To, std::vector<std::string>{Msg::SupportAddress});
  auto [headers, body] = Split(mails[0].Data);
  ASSERT_EQ(headers.size(), 9u);
  EXPECT_EQ(headers[0], "To: support@usagram.example");
  EXPECT_EQ(headers[1], "From: " + User);
  EXPECT_EQ(headers[2], "CC:");
  EXPECT_EQ(headers[3], "Subject: Bug-Usagram");
  EXPECT_EQ(headers[4].rfind("Date: ", 0), 0u) << headers[4];
  EXPECT_EQ(headers[5].rfind("Message-Id: <Usagram.", 0), 0u) << headers[5];
  EXPECT_EQ(headers[5].substr(headers[5].size() - 13), "@example.org>");
  EXPECT_EQ(headers[6], "MIME-Version: 1.0");
  EXPECT_EQ(headers[7], "Content-Type: text/plain; charset=windows-1252");
  EXPECT_EQ(headers[8], "Content-Transfer-Encoding: quoted-printable");
  EXPECT_EQ(body, "It crashed.\r\n.dpr files were open\r\n=C9t=E9 =80 100\r\n");
  // As a strict reader reads it: no defect, every letter back.
  const auto readings = TSmtpTestServers::Readings("normal");
  ASSERT_EQ(readings.size(), 1u);
  EXPECT_NE(readings[0].find("\"defects\": []"), std::string::npos) << readings[0];
  EXPECT_NE(readings[0].find("\"body\": \"It crashed.\\r\\n.dpr files were open\\r\\n\\u00c9t\\u00e9 \\u20ac 100\\r\\n\""),
            std::string::npos)
      << readings[0];
  // Sent once: the report is gone from the window.
  EXPECT_EQ(Form->Memo.Text(), "");
  // The bytes sent: what the server kept, and the dot it took away.
  EXPECT_EQ(Status(), "Mail sent to support@usagram.example (" + std::to_string(mails[0].Data.size() + 1) +
                          " bytes of data)");
  TRegIniFile store(Reg::ProductKey);
  EXPECT_EQ(store.ReadString(Reg::Internet, Reg::SmtpServer, "#"), server);
  EXPECT_EQ(store.ReadString(Reg::Internet, Reg::EmailAddress, "#"), User);

  // Shown again, the window offers what was sent with; the session is the
  // same one.
  Form->Show();
  EXPECT_EQ(Form->ServeurSMTP.Text(), server);
  EXPECT_EQ(Form->email.Text(), User);
  EXPECT_EQ(Send("Second report"), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));
  mails = TSmtpTestServers::Mails("normal");
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(Split(mails[1].Data).second, "Second report\r\n");
  EXPECT_EQ(TSmtpTestServers::Connections("normal"), 1);

  // Another server named: the report goes there.
  const std::string other = TSmtpTestServers::Address("helo");
  Form->Show();
  EXPECT_EQ(Send("Third report", &other), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));
  EXPECT_EQ(TSmtpTestServers::Mails("normal").size(), 2u);
  ASSERT_EQ(TSmtpTestServers::Mails("helo").size(), 1u);
  EXPECT_EQ(Split(TSmtpTestServers::Mails("helo")[0].Data).second, "Third report\r\n");
}

TEST_F(BugReportSend, EveryFailureEndsWithItsMessagesAndTheWindowReadyAgain) {
  struct TCase {
    std::string Server;
    std::vector<TBox> Boxes;  // texts up to the details the system adds
    std::string Status;
    int Timeout = 5000;
    std::string Address = User;
  };
  const std::string closed = "127.0.0.1:" + std::to_string(TSmtpTestServers::ClosedPort());
  const std::string silent = TSmtpTestServers::Address("silent");
  const std::string drop = TSmtpTestServers::Address("drop");
  const std::vector<TCase> cases = {
      {closed,
       {{"Error", "10061 - Cannot connect to " + closed}, {"Error", Msg::NotConnected}},
       "Not connected to SMTP server: " + closed},
      {silent,
       {{"Error", "10060 - No answer from the SMTP server within 1 seconds"}, {"Error", Msg::NotConnected}},
       "Not connected to SMTP server: " + silent,
       500},
      {TSmtpTestServers::Address("refuse"),
       {{"Error", Msg::IncorrectAddress}},
       "Connected to SMTP server: " + TSmtpTestServers::Address("refuse")},
      // Broken by an error: its box only, never "has been sent".
      {drop, {{"Error", "10054 - Connection closed by the SMTP server"}}, Msg::StatusDocBroken},
      // An address (stored, or from a mail program's key) that would carry
      // a second command never reaches the server.
      {TSmtpTestServers::Address("normal"),
       {{"Error", "501 - Invalid sender address: jane@example.org\r\nRSET"}},
       Msg::StatusDocBroken,
       5000,
       "jane@example.org\r\nRSET"},
  };
  const std::string report = "Nothing of this may be lost.\r\n";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Server);
    Open();
    Form->SMTP.Timeout = c.Timeout;
    const std::vector<TBox> boxes = Send(report, &c.Server, &c.Address);
    ASSERT_EQ(boxes.size(), c.Boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].first, c.Boxes[i].first);
      EXPECT_EQ(boxes[i].second.substr(0, c.Boxes[i].second.size()), c.Boxes[i].second);
    }
    EXPECT_EQ(Status(), c.Status);
    EXPECT_TRUE(ReadyAgain());
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Form->ModalResult, mrNone);
    EXPECT_EQ(Form->Memo.Text(), report);
  }
  EXPECT_TRUE(TSmtpTestServers::Mails("drop").empty());
  EXPECT_TRUE(TSmtpTestServers::Mails("normal").empty());
}

TEST_F(BugReportSend, TheStatusNamesTheServerEachStateConcerns) {
  const std::string first = TSmtpTestServers::Address("normal"), second = TSmtpTestServers::Address("helo");
  const std::string closed = "127.0.0.1:" + std::to_string(TSmtpTestServers::ClosedPort());
  ASSERT_EQ(Send("First report", &first, &User).size(), 1u);
  std::vector<std::string> statuses;
  auto formHandler = Form->SMTP.OnStateChanged;
  Form->SMTP.OnStateChanged = [&](int16_t state) {
    formHandler(state);
    statuses.push_back(Status());
  };
  Form->Show();
  ASSERT_EQ(Send("Second report", &second), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));
  EXPECT_EQ(statuses, (std::vector<std::string>{
                          "Disconnecting from SMTP server: " + first + "...", "Disconnected from SMTP server: " + first,
                          "Resolving Host", "Host Resolved", "Connecting to SMTP server: " + second + "...",
                          "Connected to SMTP server: " + second}));

  // From a live session to a server where nothing listens: the old one is
  // disconnected, the new one was never connected.
  statuses.clear();
  Form->Show();
  ASSERT_EQ(Send("Third report", &closed).size(), 2u);
  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ(statuses[1], "Disconnected from SMTP server: " + second);
  EXPECT_EQ(statuses.back(), "Not connected to SMTP server: " + closed);
}

// Clicks Cancel from inside Send's wait.
struct TCancelProbe {
  static inline TfBugReport* Form = nullptr;
  static void CALLBACK Click(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ClickButton(Form->Annuler);
  }
};

TEST_F(BugReportSend, CancelStopsASlowServerAndSaysSo) {
  const std::string silent = TSmtpTestServers::Address("silent");
  Form->SMTP.Timeout = 60000;
  TCancelProbe::Form = Form.get();
  SetTimer(nullptr, 0, 500, &TCancelProbe::Click);  // inside Send's wait
  const ULONGLONG start = GetTickCount64();
  const auto boxes = Send("A report that waits\r\n", &silent, &User);
  EXPECT_LT(GetTickCount64() - start, 5000u);
  EXPECT_TRUE(boxes.empty());  // the user knows: no error box
  EXPECT_EQ(Status(), Msg::StatusCancelled);
  EXPECT_EQ(Form->SMTP.State(), SmtpState::Disconnected);
  Application.ProcessMessages();
  EXPECT_TRUE(Form->Visible());
  EXPECT_EQ(Form->ModalResult, mrNone);
  EXPECT_EQ(Form->Memo.Text(), "A report that waits\r\n");
  EXPECT_TRUE(ReadyAgain());
}

TEST_F(BugReportSend, ARefusedRecipientShowsTheServersReason) {
  const std::string server = TSmtpTestServers::Address("refuse");
  EXPECT_EQ(Send("Report", &server, &User),
            (std::vector<TBox>{{"Error", std::string(Msg::IncorrectAddress) +
                                             " (5.1.1 <support@usagram.example>: Recipient address rejected)"}}));
}

TEST_F(BugReportSend, AnEmptyReportCannotBeSent) {
  Form->Memo.SetText("");
  EXPECT_FALSE(Form->Envoyer.Enabled());
  Form->Memo.SetText(" \r\n ");
  EXPECT_FALSE(Form->Envoyer.Enabled());
  Form->Memo.SetText("x");
  EXPECT_TRUE(Form->Envoyer.Enabled());
}

// Looks at the window from inside Send's wait, and tries to close it.
struct TProbe {
  static inline TfBugReport* Form = nullptr;
  static inline bool Looked = false, ButtonsOff = false, StillShown = false;
  static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Looked = true;
    // Send is off; Cancel stays on, to stop the send.
    ButtonsOff = !Form->Envoyer.Enabled() && Form->Annuler.Enabled();
    Form->Close();  // as the close box does
    StillShown = Form->Visible();
  }
};

TEST_F(BugReportSend, WhileSendingTheButtonsAreOffAndTheWindowStays) {
  const std::string silent = TSmtpTestServers::Address("silent");
  Form->SMTP.Timeout = 1500;
  TProbe::Form = Form.get();
  SetTimer(nullptr, 0, 300, &TProbe::Look);  // runs inside Send's wait
  const auto boxes = Send("report", &silent, &User);
  ASSERT_TRUE(TProbe::Looked);
  EXPECT_TRUE(TProbe::ButtonsOff);
  EXPECT_TRUE(TProbe::StillShown);
  EXPECT_EQ(boxes.size(), 2u);  // the timeout, then "Not connected"
  Application.ProcessMessages();
  EXPECT_TRUE(Form->Visible());
  EXPECT_TRUE(ReadyAgain());
}

}  // namespace
