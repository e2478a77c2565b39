// The SMTP client with today's submission servers (aiosmtpd on loopback):
// STARTTLS and TLS from the first byte through Windows' own Schannel, the
// check of the server's certificate, and the login.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BugReportTestUtil.h"
#include "BugReportTexts.h"
#include "SMTP.h"
#include "SmtpTestServers.h"
#include "TestAuthority.h"

namespace {

// The servers' login (smtp_server.py), in code page 1252.
const std::string UserName = "jane@example.org";
const std::string Password = "s\xE9same ouvre-toi";

struct TError {
  int Number;
  std::string Description;
  std::vector<std::string> Details;
};

class SmtpSecure : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }

  void SetUp() override {
    REQUIRE_SMTP_SERVERS();
    for (const char* mode : {"starttls", "login", "implicit", "notls", "silent"}) TSmtpTestServers::Clear(mode);
    Host = std::make_unique<TForm>(TFormParams{.Caption = "SMTP host"});
    Client = std::make_unique<TSMTP>();
    Client->Create(*Host);
    Client->Timeout = 10000;
    Client->ImplicitTlsPort = TSmtpTestServers::Port("implicit");
    Client->OnStateChanged = [this](int16_t s) { Log.push_back("state " + std::to_string(s)); };
    Client->OnError = [this](int16_t number, const std::string& description, int32_t, const std::string&,
                             const std::string&, int32_t, bool& cancelDisplay) {
      std::vector<std::string> details;
      for (int i = 1; i <= Client->Errors().Count(); ++i) details.push_back(Client->Errors().Item(i).Description);
      Errors.push_back({number, description, details});
      cancelDisplay = true;
    };
  }
  void TearDown() override {
    Client.reset();
    Host.reset();
  }

  bool Settle() { return ::Settle(*Client); }

  // Connects with the login, sends one mail; true when nothing failed.
  bool SendThrough(const std::string& server, const std::string& password = Password) {
    Client->UserName = UserName;
    Client->Password = password;
    Client->Connect(server);
    if (!Settle() || Client->State() != SmtpState::Connected) return false;
    TDocHeaders h;
    h.Add("To", Msg::SupportAddress);
    h.Add("From", UserName);
    h.Add("Subject", "Bug-Usagram");
    Client->SendDoc(h, "Sent encrypted.\r\n");
    return Settle() && Errors.empty();
  }

  static std::string Localhost(const std::string& mode) { return "localhost:" + std::to_string(TSmtpTestServers::Port(mode)); }

  std::unique_ptr<TForm> Host;
  std::unique_ptr<TSMTP> Client;
  std::vector<std::string> Log;
  std::vector<TError> Errors;
};

TEST_F(SmtpSecure, LogsInOverStartTlsWithWhicheverMechanismTheServerOffers) {
  TTrustedTestAuthority authority;
  ASSERT_TRUE(authority.Added);
  // "starttls" offers PLAIN and LOGIN, "login" LOGIN alone; the password
  // holds a letter of code page 1252, which the server reads as UTF-8.
  for (const char* mode : {"starttls", "login"}) {
    SCOPED_TRACE(mode);
    Errors.clear();
    ASSERT_TRUE(SendThrough(Localhost(mode))) << (Errors.empty() ? "" : Errors[0].Description);
    ASSERT_EQ(TSmtpTestServers::Mails(mode).size(), 1u);
    EXPECT_EQ(TSmtpTestServers::Mails(mode)[0].From, UserName);
    // Encrypted, and by a version today's servers still take.
    const std::string reading = TSmtpTestServers::Readings(mode).at(0);
    EXPECT_TRUE(reading.find("\"tls\": \"TLSv1.2\"") != std::string::npos ||
                reading.find("\"tls\": \"TLSv1.3\"") != std::string::npos)
        << reading;
    Client->Cancel();  // closes the session
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  }
}

TEST_F(SmtpSecure, SpeaksTlsFromTheFirstByteOnTheImplicitPort) {
  TTrustedTestAuthority authority;
  ASSERT_TRUE(SendThrough(Localhost("implicit"))) << (Errors.empty() ? "" : Errors[0].Description);
  ASSERT_EQ(TSmtpTestServers::Mails("implicit").size(), 1u);
  EXPECT_EQ(TSmtpTestServers::Readings("implicit").at(0).find("\"tls\": null"), std::string::npos);
}

TEST_F(SmtpSecure, AWrongPasswordShowsTheServersReason) {
  TTrustedTestAuthority authority;
  EXPECT_FALSE(SendThrough(Localhost("starttls"), "wrong"));
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, 535);
  EXPECT_EQ(Errors[0].Description, Msg::SmtpLoginRefused);
  EXPECT_EQ(Errors[0].Details, std::vector<std::string>{"5.7.8 Authentication credentials invalid"});
  EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  EXPECT_TRUE(TSmtpTestServers::Mails("starttls").empty());
}

TEST_F(SmtpSecure, NoPasswordGoesToAServerThatOffersNoEncryption) {
  EXPECT_FALSE(SendThrough(Localhost("notls")));
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, SmtpClientError::NoEncryption);
  EXPECT_EQ(Errors[0].Description, "The SMTP server localhost offers no encryption (STARTTLS): the password is not sent");
  EXPECT_EQ(TSmtpTestServers::Count("notls", "auth-"), 0);
  EXPECT_EQ(Client->State(), SmtpState::Disconnected);
}

TEST_F(SmtpSecure, ACertificateWindowsDoesNotTrustStopsEverything) {
  TTrustedTestAuthority::Remove();  // as on a machine that never heard of it
  for (const char* mode : {"starttls", "implicit"}) {
    SCOPED_TRACE(mode);
    Errors.clear();
    EXPECT_FALSE(SendThrough(Localhost(mode)));
    ASSERT_EQ(Errors.size(), 1u);
    EXPECT_EQ(Errors[0].Number, SmtpClientError::Certificate);
    EXPECT_EQ(Errors[0].Description,
              "The certificate of the SMTP server localhost is refused: it is not issued by an authority this computer trusts");
    EXPECT_EQ(Client->State(), SmtpState::Disconnected);
    EXPECT_TRUE(TSmtpTestServers::Mails(mode).empty());
  }
}

TEST_F(SmtpSecure, ACertificateForAnotherNameIsRefused) {
  TTrustedTestAuthority authority;
  // The certificate is made out for localhost alone: the same server
  // reached by its address is not the server it names.
  EXPECT_FALSE(SendThrough(TSmtpTestServers::Address("starttls")));
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, SmtpClientError::Certificate);
  EXPECT_EQ(Errors[0].Description, "The certificate of the SMTP server 127.0.0.1 is refused: it is made out for another name");
  EXPECT_TRUE(TSmtpTestServers::Mails("starttls").empty());
}

TEST_F(SmtpSecure, CancelEndsAWaitAtOnceWithoutAnError) {
  Client->Timeout = 60000;
  Client->Connect(TSmtpTestServers::Address("silent"));
  const ULONGLONG until = GetTickCount64() + 10000;
  while (TSmtpTestServers::Connections("silent") == 0 && GetTickCount64() < until) Sleep(20);
  const ULONGLONG start = GetTickCount64();
  Client->Cancel();
  ASSERT_TRUE(Settle());
  EXPECT_LT(GetTickCount64() - start, 3000u);
  EXPECT_TRUE(Client->Cancelled());
  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(Client->State(), SmtpState::Disconnected);
  // The next command runs as usual.
  Client->Timeout = 300;
  Client->Connect(TSmtpTestServers::Address("silent"));
  EXPECT_FALSE(Client->Cancelled());
  ASSERT_TRUE(Settle());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Number, WSAETIMEDOUT);
}

}  // namespace
