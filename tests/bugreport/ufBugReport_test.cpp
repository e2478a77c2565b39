// The bug report window without a server: what it offers, what it refuses,
// and its melody, driven through real messages.
#include <gtest/gtest.h>

#include <memory>

#include "Reg.h"
#include "BugReportTestUtil.h"
#include "BugReportTexts.h"
#include "Melody.h"
#include "MidiRecorder.h"
#include "Settings.h"
#include "ufBugReport.h"

namespace {

class BugReportWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }
  void SetUp() override {
    DeleteProductKey();
    TMailProgramKeys::Remove();
  }
  void TearDown() override {
    Form.reset();
    DeleteProductKey();
    TMailProgramKeys::Remove();
  }
  void Open() {
    Form = std::make_unique<TfBugReport>();
    Form->Show();
    Application.ProcessMessages();
  }
  // Runs the message loop until done() or three seconds have passed.
  template <class F>
  static bool PumpUntil(F done) {
    const ULONGLONG until = GetTickCount64() + 3000;
    while (!done() && GetTickCount64() < until) {
      Application.ProcessMessages();
      if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
  }
  std::unique_ptr<TfBugReport> Form;
};

TEST_F(BugReportWindow, OffersWhatWasSentWithFirstThenTheMailProgramsAddresses) {
  struct TCase {
    std::string StoredServer, StoredAddress, Conference, Navigator;
    std::vector<std::string> Servers, Addresses;
  };
  const std::vector<TCase> cases = {
      // Nothing anywhere: the user types both.
      {"", "", "", "", {}, {}},
      {"", "", "ann@a.example", "carl@c.example", {"smtp.a.example", "smtp.c.example"}, {"ann@a.example", "carl@c.example"}},
      // The stored pair first; an address met twice is offered once; an
      // address without an at sign still gives a server.
      {"mail.stored.example:2525",
       "jane@mail.example.com",
       "jane@mail.example.com",
       "bob",
       {"mail.stored.example:2525", "smtp.mail.example.com", "smtp.bob"},
       {"jane@mail.example.com", "bob"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Conference + "/" + c.Navigator);
    DeleteProductKey();
    TMailProgramKeys::Remove();
    if (!c.StoredServer.empty()) {
      TRegIniFile store(Reg::ProductKey);
      store.WriteString(Reg::Internet, Reg::SmtpServer, c.StoredServer);
      store.WriteString(Reg::Internet, Reg::EmailAddress, c.StoredAddress);
    }
    TMailProgramKeys::Set(c.Conference, c.Navigator);
    Open();
    EXPECT_EQ(ItemsOf(Form->ServeurSMTP), c.Servers);
    EXPECT_EQ(ItemsOf(Form->email), c.Addresses);
    EXPECT_EQ(Form->ServeurSMTP.Text(), c.Servers.empty() ? "" : c.Servers[0]);
    EXPECT_EQ(Form->email.Text(), c.Addresses.empty() ? "" : c.Addresses[0]);
  }
}

TEST_F(BugReportWindow, SendWithoutServerOrAddressSaysSoAndGivesTheButtonsBack) {
  Open();
  Form->Memo.SetText("A report");  // Send is off while there is none
  struct TCase {
    std::string Server, Address, Message;
  };
  for (const TCase& c : std::vector<TCase>{{"", "me@example.org", Msg::NoSmtpServer},
                                           {"   ", "me@example.org", Msg::NoSmtpServer},
                                           {"smtp.example.org", "", Msg::NoEmailAddress}}) {
    SCOPED_TRACE(c.Message);
    Form->ServeurSMTP.SetText(c.Server);
    Form->email.SetText(c.Address);
    TBoxRecorder boxes;
    ClickButton(Form->Envoyer);
    EXPECT_EQ(boxes.Boxes, (std::vector<TBox>{{"Usagram", c.Message}}));
    EXPECT_TRUE(Form->Envoyer.Enabled());
    EXPECT_TRUE(Form->Annuler.Enabled());
    EXPECT_TRUE(Form->Visible());
  }
  // Nothing was stored and nothing started.
  TRegIniFile store(Reg::ProductKey);
  EXPECT_FALSE(store.ValueExists(Reg::Internet, Reg::SmtpServer));
  EXPECT_FALSE(store.ValueExists(Reg::Internet, Reg::EmailAddress));
  EXPECT_EQ(Form->SMTP.State(), SmtpState::Disconnected);
  EXPECT_FALSE(Form->SMTP.Busy());
}

TEST_F(BugReportWindow, WithoutAMidiDeviceTheMusicIsOffAndItsBoxHidden) {
  Open();
  if (midiOutGetNumDevs() != 0) GTEST_SKIP() << "this machine has a MIDI device";
  EXPECT_FALSE(MidiOK());
  EXPECT_FALSE(Form->Exorciste.Enabled());
  EXPECT_FALSE(Form->cbCouperLeSon.Visible());
}

TEST_F(BugReportWindow, WithADeviceTheTuneGoesOnUntilStoppedAndAcrossShowings) {
  TMidiRecorder device;
  MelodyStep = 1;
  MelodyInstrument = FirstInstrument;
  Open();
  EXPECT_TRUE(Form->cbCouperLeSon.Visible());
  EXPECT_TRUE(Form->Exorciste.Enabled());
  EXPECT_EQ(Form->Exorciste.Interval(), 250u);

  // The first tick comes from the timer itself.
  ASSERT_TRUE(PumpUntil([] { return !TMidiRecorder::Messages().empty(); }));
  EXPECT_EQ(TMidiRecorder::Messages(), (std::vector<DWORD>{TMidiRecorder::Message(0xC0, FirstInstrument - 1, 0),
                                                           TMidiRecorder::Message(0x90, MelodyNotes[0], 64)}));
  EXPECT_EQ(Form->Exorciste.Interval(), static_cast<unsigned>(MelodyDurations[0]));

  ClickButton(Form->cbCouperLeSon);
  EXPECT_TRUE(Form->cbCouperLeSon.Checked());
  EXPECT_FALSE(Form->Exorciste.Enabled());
  ClickButton(Form->cbCouperLeSon);
  EXPECT_TRUE(Form->Exorciste.Enabled());

  Form->ExorcisteTimer();
  const int32_t step = MelodyStep;
  TMidiRecorder::Calls().clear();
  Form->Hide();
  EXPECT_FALSE(Form->Exorciste.Enabled());
  EXPECT_EQ(TMidiRecorder::Calls().back(), TMidiCall{"close"});
  Form->Show();
  EXPECT_TRUE(Form->Exorciste.Enabled());
  EXPECT_EQ(MelodyStep, step);
  TMidiRecorder::Calls().clear();
  Form->ExorcisteTimer();  // goes on with the next note, the one before it off
  EXPECT_EQ(TMidiRecorder::Messages(), (std::vector<DWORD>{TMidiRecorder::Message(0xC0, FirstInstrument - 1, 0),
                                                           TMidiRecorder::Message(0x80, MelodyNotes[step - 2], 64),
                                                           TMidiRecorder::Message(0x90, MelodyNotes[step - 1], 64)}));

  // Stopped by the user, it stays stopped when the window comes back.
  Form->cbCouperLeSon.SetChecked(true);
  Form->Hide();
  Form->Show();
  EXPECT_TRUE(Form->cbCouperLeSon.Visible());
  EXPECT_FALSE(Form->Exorciste.Enabled());
}

TEST_F(BugReportWindow, EntryPointsCreateTheWindowOnceAndShowItModally) {
  ASSERT_TRUE(CreateBugReportWindow());
  TfBugReport* first = fBugReport;
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(CreateBugReportWindow());
  EXPECT_EQ(fBugReport, first);
  // The user cancels: Escape reaches the Cancel button.
  bool wasModal = false;
  TModalAnswer cancel(
      [&](HWND form) {
        wasModal = fBugReport->Modal();
        PostMessageA(form, WM_KEYDOWN, VK_ESCAPE, 0);
      },
      "UsagramForm");
  ShowBugReport();
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(fBugReport->ModalResult, mrCancel);
  EXPECT_FALSE(fBugReport->Visible());
  FreeBugReportWindow();
  EXPECT_EQ(fBugReport, nullptr);
}

}  // namespace
