// The bug report window with a server of today: STARTTLS and a login typed
// in the window, the password kept only when asked and never in clear.
#include <gtest/gtest.h>

#include <memory>

#include "BugReportTestUtil.h"
#include "BugReportTexts.h"
#include "Reg.h"
#include "SavedPassword.h"
#include "Settings.h"
#include "SmtpTestServers.h"
#include "TestAuthority.h"
#include "ufBugReport.h"

namespace {

const std::string User = "jane@example.org";
const std::string Password = "s\xE9same ouvre-toi";  // smtp_server.py's

class BugReportLogin : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }
  void SetUp() override {
    REQUIRE_SMTP_SERVERS();
    ASSERT_TRUE(Authority.Added);
    TSmtpTestServers::Clear("starttls");
    DeleteProductKey();
    Open();
  }
  void TearDown() override {
    Form.reset();
    DeleteProductKey();
  }
  void Open() {
    Form = std::make_unique<TfBugReport>();
    Form->SMTP.Timeout = 10000;
    Form->Show();
    Application.ProcessMessages();
  }
  std::vector<TBox> Send(const std::string& report) {
    Form->Memo.SetText(report);
    TBoxRecorder boxes;
    ClickButton(Form->Envoyer);
    return boxes.Boxes;
  }
  bool LoginShown() const { return Form->Utilisateur.Visible() && Form->MotDePasse.Visible(); }

  TTrustedTestAuthority Authority;
  std::unique_ptr<TfBugReport> Form;
  const std::string Server = "localhost:" + std::to_string(TSmtpTestServers::Port("starttls"));
};

TEST_F(BugReportLogin, AnAccentedReportArrivesExactlyThroughStartTlsWithALogin) {
  EXPECT_FALSE(LoginShown());
  Form->ServeurSMTP.SetText(Server);
  Form->email.SetText(User);
  ClickButton(Form->cbConnexion);
  EXPECT_TRUE(LoginShown());
  Form->Utilisateur.SetText(User);
  Form->MotDePasse.SetText(Password);
  ClickButton(Form->cbMemoriser);
  const std::string report = "L'analyse s'arr\xEAte sur \xABUnit\xE9 1\xBB \x96 d\xE9j\xE0 vu.\r\n"
                             "A line = with an equals sign, and a blank at its end \r\n";
  EXPECT_EQ(Send(report), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));

  const auto readings = TSmtpTestServers::Readings("starttls");
  ASSERT_EQ(readings.size(), 1u);
  EXPECT_NE(readings[0].find("\"defects\": []"), std::string::npos) << readings[0];
  EXPECT_NE(readings[0].find("\"body\": \"L'analyse s'arr\\u00eate sur \\u00abUnit\\u00e9 1\\u00bb \\u2013 "
                             "d\\u00e9j\\u00e0 vu.\\r\\nA line = with an equals sign, and a blank at its end \\r\\n\""),
            std::string::npos)
      << readings[0];
  EXPECT_NE(readings[0].find("\"charset\": \"windows-1252\""), std::string::npos);
  EXPECT_EQ(TSmtpTestServers::Mails("starttls")[0].From, User);

  // The user name beside the server; the password encrypted, not in clear.
  TRegIniFile store(Reg::ProductKey);
  EXPECT_EQ(Reg::ReadSmtpUserName(store), User);
  const std::string stored = Reg::ReadSmtpPassword(store);
  EXPECT_EQ(stored.find("ouvre"), std::string::npos);
  EXPECT_EQ(UnprotectPassword(stored), Password);

  // Next time the login is there already.
  Form.reset();
  Open();
  EXPECT_TRUE(Form->cbConnexion.Checked());
  EXPECT_TRUE(LoginShown());
  EXPECT_EQ(Form->Utilisateur.Text(), User);
  EXPECT_EQ(Form->MotDePasse.Text(), Password);
  EXPECT_TRUE(Form->cbMemoriser.Checked());
}

TEST_F(BugReportLogin, ThePasswordIsForgottenUnlessTheUserAsks) {
  TRegIniFile store(Reg::ProductKey);
  Reg::WriteSmtpPassword(store, ProtectPassword("an old one"));
  Form->ServeurSMTP.SetText(Server);
  Form->email.SetText(User);
  Form->cbConnexion.SetChecked(true);
  Form->Utilisateur.SetText(User);
  Form->MotDePasse.SetText(Password);
  Form->cbMemoriser.SetChecked(false);
  EXPECT_EQ(Send("Report"), (std::vector<TBox>{{"Usagram", Msg::ReportSent}}));
  EXPECT_EQ(Reg::ReadSmtpUserName(store), User);
  EXPECT_FALSE(store.ValueExists(Reg::Internet, Reg::SmtpPassword));
  // A missing field is named before anything starts.
  Form->Show();
  Form->MotDePasse.SetText("");
  EXPECT_EQ(Send("Report"), (std::vector<TBox>{{"Usagram", Msg::NoPassword}}));
  Form->Utilisateur.SetText(" ");
  EXPECT_EQ(Send("Report"), (std::vector<TBox>{{"Usagram", Msg::NoUserName}}));
  EXPECT_EQ(TSmtpTestServers::Mails("starttls").size(), 1u);
}

TEST_F(BugReportLogin, AServerThatWantsALoginGetsTheFieldsShown) {
  Form->ServeurSMTP.SetText(Server);
  Form->email.SetText(User);
  const auto boxes = Send("Report");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].second, "530 - The SMTP server refused MAIL FROM:<" + User + "> (5.7.0 Authentication required)");
  EXPECT_TRUE(Form->cbConnexion.Checked());
  EXPECT_TRUE(LoginShown());
  EXPECT_EQ(Form->Memo.Text(), "Report");
  EXPECT_TRUE(Form->Envoyer.Enabled());
}

TEST_F(BugReportLogin, AWrongPasswordShowsTheServersReason) {
  Form->ServeurSMTP.SetText(Server);
  Form->email.SetText(User);
  Form->cbConnexion.SetChecked(true);
  Form->Utilisateur.SetText(User);
  Form->MotDePasse.SetText("wrong");
  const auto boxes = Send("Report");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].second, "535 - The SMTP server refused the login (5.7.8 Authentication credentials invalid)");
  EXPECT_EQ(boxes[1].second, Msg::NotConnected);
  EXPECT_TRUE(TSmtpTestServers::Mails("starttls").empty());
}

}  // namespace
