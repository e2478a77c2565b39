// The SMTP client against real SMTP servers on loopback: what the server
// receives, and how each failure ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BugReportTestUtil.h"
#include "BugReportTexts.h"
#include "ModalAnswer.h"
#include "SMTP.h"
#include "SmtpTestServers.h"

namespace {

struct TError {
  int Number;
  std::string Description;
};

class SmtpClient : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }

  void SetUp() override {
    REQUIRE_SMTP_SERVERS();
    for (const char* mode : {"normal", "helo", "refuse", "drop", "silent", "brief"}) TSmtpTestServers::Clear(mode);
    Host = std::make_unique<TForm>(TFormParams{.Caption = "SMTP host"});
    Client = std::make_unique<TSMTP>();
    Client->Create(*Host);
    Client->Timeout = 5000;
    Client->OnStateChanged = [this](int16_t s) {
      Log.push_back("state " + std::to_string(s));
      Hosts.push_back(Client->StateHost());
    };
    Client->OnDocInput = [this](TDocInput& d) {
      Docs.push_back(d);
      Log.push_back("doc " + std::to_string(d.State));
    };
    Client->OnVerify = [this] {
      ++Verified;
      Log.push_back("verify");
    };
    Client->OnError = [this](int16_t number, const std::string& description, int32_t, const std::string&,
                             const std::string&, int32_t, bool& cancelDisplay) {
      Errors.push_back({number, description});
      Log.push_back("error " + std::to_string(number));
      cancelDisplay = CancelDisplay;
    };
  }

  void TearDown() override {
    Client.reset();
    Host.reset();
  }

  // Lets the client's events in until it has nothing left to do.
  bool Settle() { return ::Settle(*Client); }

  void ConnectTo(const std::string& address) {
    Client->Connect(address);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(Client->State(), SmtpState::Connected) << (Errors.empty() ? "" : Errors.back().Description);
    Log.clear();
  }

  static TDocHeaders Headers(const std::string& from) {
    TDocHeaders h;
    h.Add("To", Msg::SupportAddress);
    h.Add("From", from);
    h.Add("CC", "");
    h.Add("Subject", "Bug-Usagram");
    h.Add("Message-Id", "Usagram_today_" + from);
    h.Add("Content-Type", "TEXT/PLAIN charset=US-ASCII");
    return h;
  }
  static std::string HeaderLines(const std::string& from) {
    return "To: support@usagram.example\r\nFrom: " + from + "\r\nCC:\r\nSubject: Bug-Usagram\r\nMessage-Id: Usagram_today_" +
           from + "\r\nContent-Type: TEXT/PLAIN charset=US-ASCII\r\n\r\n";
  }

  std::unique_ptr<TForm> Host;
  std::unique_ptr<TSMTP> Client;
  std::vector<std::string> Log;
  std::vector<std::string> Hosts;  // StateHost at each state
  std::vector<TDocInput> Docs;
  std::vector<TError> Errors;
  int Verified = 0;
  bool CancelDisplay = true;
};

TEST_F(SmtpClient, DeliversTheEnvelopeHeadersAndBodyAsWritten) {
  Client->Connect(TSmtpTestServers::Address("normal"));
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Log, (std::vector<std::string>{"state 2", "state 3", "state 1", "state 4"}));
  Log.clear();

  Client->Verify(Msg::SupportAddress);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Verified, 1);

  // Leading dots, a line of one dot, code page 1252 letters, bare LF and CR
  // line ends, and no line end at the very end.
  const std::string body =
      "First line\r\n.starts with a dot\r\n..two dots\r\n.\r\nCaf\xE9 cr\xE8me, na\xEFve\nbare LF\rbare CR\r\n\r\nlast";
  const std::string from = "Jane Doe <jane@example.org>";
  Client->SendDoc(Headers(from), body);
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(Errors.empty()) << Errors.front().Description;

  const auto mails = TSmtpTestServers::Mails("normal");
  ASSERT_EQ(mails.size(), 1u);
  EXPECT_EQ(mails[0].From, "jane@example.org");
  EXPECT_EQ(mails[0].To, std::vector<std::string>{"support@usagram.example"});
  const std::string expected = HeaderLines(from) +
                               "First line\r\n.starts with a dot\r\n..two dots\r\n.\r\nCaf\xE9 cr\xE8me, "
                               "na\xEFve\r\nbare LF\r\nbare CR\r\n\r\nlast\r\n";
  EXPECT_EQ(mails[0].Data, expected);

  // Sizes are of what went on the wire: three lines got one more dot.
  ASSERT_GE(Docs.size(), 4u);
  EXPECT_EQ(Docs.front().State, DocInputState::Initializing);
  EXPECT_EQ(Docs.front().BytesTotal, static_cast<int32_t>(expected.size() + 3));
  EXPECT_EQ(Docs[1].State, DocInputState::SendingHeaders);
  EXPECT_EQ(Docs[2].State, DocInputState::SendingData);
  EXPECT_EQ(Docs.back().State, DocInputState::Done);
  EXPECT_EQ(Docs.back().BytesTransferred, Docs.back().BytesTotal);
  EXPECT_EQ(Client->State(), SmtpState::Connected);
}

TEST_F(SmtpClient, LongReportShowsProgressAndLaterMailsUseTheSameSession) {
  ConnectTo(TSmtpTestServers::Address("normal"));
  std::string body;
  for (int i = 0; body.size() < 200000; ++i) body += "Line " + std::to_string(i) + " of a long report\r\n";
  Client->SendDoc(Headers("a@example.org"), body);
  ASSERT_TRUE(Settle());

  std::vector<int32_t> progress;
  for (const TDocInput& d : Docs)
    if (d.State == DocInputState::SendingData) progress.push_back(d.BytesTransferred);
  ASSERT_GE(progress.size(), 5u);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(progress.back(), Docs.back().BytesTotal);

  Log.clear();
  Client->Renew();  // a live session: RSET only
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(Log.empty());
  Client->SendDoc(Headers("b@example.org"), "second\r\n");
  ASSERT_TRUE(Settle());

  const auto mails = TSmtpTestServers::Mails("normal");
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(mails[0].Data, HeaderLines("a@example.org") + body);
  EXPECT_EQ(mails[1].Data, HeaderLines("b@example.org") + "second\r\n");
  EXPECT_EQ(TSmtpTestServers::Connections("normal"), 1);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(SmtpClient, EachFailureToConnectEndsDisconnectedWithItsError) {
  struct TCase {
    std::string Server;
    int Number;
    std::string Description;
  };
  const int closed = TSmtpTestServers::ClosedPort();
  const std::vector<TCase> cases = {
      {"127.0.0.1:" + std::to_string(closed), WSAECONNREFUSED, "Cannot connect to 127.0.0.1:" + std::to_string(closed)},
      {"127.0.0.1:70000", WSAEINVAL, "Invalid port in the server address: 70000"},
      {"127.0.0.1:", WSAEINVAL, "Invalid port in the server address: "},
      {TSmtpTestServers::Address("silent"), WSAETIMEDOUT, "No answer from the SMTP server within 1 seconds"},
  };
  Client->Timeout = 400;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Server);
    Log.clear();
    Errors.clear();
    Client->Connect(c.Server);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0].Number, c.Number);
    EXPECT_EQ(Errors[0].Description, c.Description);
    EXPECT_EQ(Log.back(), "state 6");
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "state 4"), 0);
    EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  }
  EXPECT_EQ(TSmtpTestServers::Connections("silent"), 1);
}

TEST_F(SmtpClient, ConnectionDroppedDuringDataBreaksTheTransferAfterTheError) {
  ConnectTo(TSmtpTestServers::Address("drop"));
  Client->SendDoc(Headers("a@example.org"), "a report\r\n");
  ASSERT_TRUE(Settle());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, WSAECONNRESET);
  EXPECT_EQ(Errors[0].Description, Msg::SmtpConnectionClosed);
  // The error, the end of the session, and last the end of the transfer.
  ASSERT_GE(Log.size(), 4u);
  const std::vector<std::string> tail(Log.end() - 4, Log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"error 10054", "state 5", "state 6", "doc 5"}));
  EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  EXPECT_TRUE(TSmtpTestServers::Mails("drop").empty());
}

TEST_F(SmtpClient, OlderServerIsGreetedWithHeloAndStillGetsTheMail) {
  // It answers EHLO with 502 and will not hear the null sender of the
  // recipient check: the check then leaves the answer to the mail itself.
  ConnectTo(TSmtpTestServers::Address("helo"));
  Client->Verify(Msg::SupportAddress);
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Verified, 1);
  Client->SendDoc(Headers("old@example.org"), "hello\r\n");
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(Errors.empty());
  ASSERT_EQ(TSmtpTestServers::Mails("helo").size(), 1u);
}

TEST_F(SmtpClient, RenewFollowsTheServerNamed) {
  ConnectTo(TSmtpTestServers::Address("normal"));
  Client->RemoteHost = TSmtpTestServers::Address("helo");
  Client->Renew();
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Log, (std::vector<std::string>{"state 5", "state 6", "state 2", "state 3", "state 1", "state 4"}));
  Client->SendDoc(Headers("a@example.org"), "to the other one\r\n");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TSmtpTestServers::Mails("helo").size(), 1u);
  EXPECT_TRUE(TSmtpTestServers::Mails("normal").empty());
}

TEST_F(SmtpClient, EachStateNamesTheServerItConcerns) {
  const std::string first = TSmtpTestServers::Address("normal"), second = TSmtpTestServers::Address("helo");
  ConnectTo(first);
  Hosts.clear();
  Client->RemoteHost = second;
  Client->Renew();
  ASSERT_TRUE(Settle());
  ASSERT_EQ(Log, (std::vector<std::string>{"state 5", "state 6", "state 2", "state 3", "state 1", "state 4"}));
  EXPECT_EQ(Hosts, (std::vector<std::string>{first, first, second, second, second, second}));
}

TEST_F(SmtpClient, AfterASessionEndsTheNextServerGetsTheFullTimeout) {
  // The old session's QUIT waits two seconds at most; the new server must
  // still get the whole three.
  Client->Timeout = 3000;
  ConnectTo(TSmtpTestServers::Address("normal"));
  Client->RemoteHost = TSmtpTestServers::Address("silent");
  Client->Renew();
  ASSERT_TRUE(Settle());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, WSAETIMEDOUT);
  EXPECT_EQ(Errors[0].Description, "No answer from the SMTP server within 3 seconds");
  EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  EXPECT_EQ(Client->StateHost(), TSmtpTestServers::Address("silent"));
}

// A command that fails in a way nobody foresaw.
class TThrowingSMTP : public TSMTP {
 protected:
  void Run(const TCommand&) override { throw 42; }
};

TEST_F(SmtpClient, AnyFailureOfACommandIsReportedAndTheClientGoesOn) {
  TThrowingSMTP client;
  client.Create(*Host);
  std::vector<std::string> errors;
  client.OnError = [&](int16_t, const std::string& description, int32_t, const std::string&, const std::string&,
                       int32_t, bool& cancelDisplay) {
    errors.push_back(description);
    cancelDisplay = true;
  };
  for (int i = 0; i < 2; ++i) {
    client.Connect(TSmtpTestServers::Address("normal"));
    EXPECT_TRUE(::Settle(client, 10000));
  }
  EXPECT_EQ(errors, (std::vector<std::string>{Msg::SmtpInternalError, Msg::SmtpInternalError}));
  EXPECT_EQ(client.State(), SmtpState::Disconnected);
}

TEST_F(SmtpClient, RenewConnectsAgainWhenTheServerHasClosedAnIdleSession) {
  // This server closes a session idle for a second.
  ConnectTo(TSmtpTestServers::Address("brief"));
  const ULONGLONG until = GetTickCount64() + 1800;
  while (GetTickCount64() < until) {
    Application.ProcessMessages();
    Sleep(20);
  }
  EXPECT_EQ(Client->State(), SmtpState::Connected);  // nobody has noticed yet
  Client->Renew();
  ASSERT_TRUE(Settle());
  EXPECT_TRUE(Errors.empty()) << Errors.front().Description;
  EXPECT_EQ(Log, (std::vector<std::string>{"state 5", "state 6", "state 2", "state 3", "state 1", "state 4"}));
  EXPECT_EQ(TSmtpTestServers::Connections("brief"), 2);
  Client->SendDoc(Headers("a@example.org"), "after a pause\r\n");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(TSmtpTestServers::Mails("brief").size(), 1u);
}

TEST_F(SmtpClient, ShowsItsOwnErrorBoxUnlessTheHandlerCancelsIt) {
  CancelDisplay = false;
  TModalAnswer answer(IDOK);
  Client->Connect("127.0.0.1:" + std::to_string(TSmtpTestServers::ClosedPort()));
  ASSERT_TRUE(Settle());
  ASSERT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "SMTP");
  EXPECT_EQ(answer.Text(), Errors.at(0).Description);
}

TEST_F(SmtpClient, EndsPromptlyWhileAServerKeepsItWaiting) {
  Client->Timeout = 120000;
  Client->Connect(TSmtpTestServers::Address("silent"));
  const ULONGLONG until = GetTickCount64() + 10000;
  while (TSmtpTestServers::Connections("silent") == 0 && GetTickCount64() < until) Sleep(20);
  ASSERT_EQ(TSmtpTestServers::Connections("silent"), 1);
  const ULONGLONG start = GetTickCount64();
  Client.reset();  // would wait out the two minutes if the wait could not be cut short
  EXPECT_LT(GetTickCount64() - start, 30000u);
}

}  // namespace
