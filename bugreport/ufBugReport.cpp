#include "ufBugReport.h"

#include <cmath>
#include <memory>

#include "BugReportTexts.h"
#include "Format.h"
#include "Melody.h"
#include "Messages.h"
#include "RegKey.h"
#include "ScopeExit.h"
#include "Settings.h"
#include "uChaines.h"
#include "uMidi.h"

TfBugReport* fBugReport = nullptr;

namespace {

constexpr int BugReportHelpContext = 6;

std::unique_ptr<TfBugReport> OwnedWindow;

// A text value of another program's key; empty when it cannot be read.
// The names are written as absolute paths; the API wants them relative.
std::string ReadForeignText(HKEY root, const char* key, const char* value) {
  if (*key == '\\') ++key;
  TRegKey k;
  std::string text;
  if (!k.Open(root, key) || !k.QueryString(value, text)) return {};
  return text;
}

// "smtp." and the domain of an address (the whole text without an at sign).
std::string ServerFor(const std::string& address) {
  size_t at = address.rfind('@');
  return "smtp." + (at == std::string::npos ? address : address.substr(at + 1));
}

// Adds an item once; "#" is the store's "not set".
void Offer(TComboBox& list, const std::string& item) {
  if (item.empty() || item == Reg::NotSet) return;
  for (int i = 0; i < list.Count(); ++i)
    if (SameTextAscii(list.Items(i), item)) return;
  list.Add(item);
}

// The current date and time in the user's own format.
std::string NowText() {
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

}  // namespace

TfBugReport::TfBugReport()
    : TForm(TFormParams{.Caption = Msg::BugReportCaption,
                        .ClientWidth = 440,
                        .ClientHeight = 364,
                        .BorderStyle = bsDialog,
                        .HelpContext = BugReportHelpContext}) {
  CreateComponents();
  OnShow = [this] { FormShow(); };
  OnHide = [this] { FormHide(); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  FinishCreate();
  fBugReport = this;
}

TfBugReport::~TfBugReport() {
  // The handlers use the controls: no more of them from here on.
  OnShow = OnHide = nullptr;
  OnCloseQuery = nullptr;
  FormHide();
  if (fBugReport == this) fBugReport = nullptr;
}

void TfBugReport::CreateComponents() {
  Label1.Create(*this, 8, 8, Msg::TypeReport);
  Memo.Create(*this, {8, 26, 424, 170}, ssVertical);
  Label2.Create(*this, 8, 204, Msg::ThenSend);
  Envoyer.Create(*this, {8, 224, 75, 25}, Msg::SendButton);
  Label3.Create(*this, 92, 230, std::string(Msg::At) + Msg::SupportAddress);
  Annuler.Cancel = true;
  Annuler.ModalResult = mrCancel;
  Annuler.Create(*this, {357, 224, 75, 25}, Msg::CancelButton);
  Label4.Create(*this, 8, 265, Msg::YourSmtpServer);
  ServeurSMTP.Create(*this, {140, 261, 292, 160}, true);
  Label5.Create(*this, 8, 293, Msg::YourEmail);
  email.Create(*this, {140, 289, 292, 160}, true);
  cbCouperLeSon.Create(*this, {8, 318, 200, 17}, Msg::StopMusic);
  StatusBar.Create(*this);
  StatusBar.SetPanels({{440, taLeftJustify, {}}});
  SMTP.Create(*this);

  Envoyer.OnClick = [this] { EnvoyerClick(); };
  Annuler.OnClick = [this] {
    if (!Modal()) Close();
  };
  cbCouperLeSon.OnClick = [this] { cbCouperLeSonClick(); };
  Exorciste.OnTimer = [this] { ExorcisteTimer(); };
  SMTP.OnStateChanged = [this](int16_t state) { SMTPStateChanged(state); };
  SMTP.OnDocInput = [this](TDocInput& doc) { SMTPDocInput(doc); };
  SMTP.OnVerify = [this] { SMTPVerify(); };
  SMTP.OnError = [this](int16_t number, const std::string& description, int32_t scode, const std::string& source,
                        const std::string& helpFile, int32_t helpContext, bool& cancelDisplay) {
    pSMTPError(number, description, scode, source, helpFile, helpContext, cancelDisplay);
  };
}

void TfBugReport::SetStatus(const std::string& text) { StatusBar.SetPanelText(0, text); }

// ---------------------------------------------------------------- showing

void TfBugReport::FormShow() {
  ServeurSMTP.Clear();
  email.Clear();
  // What the user sent with last time comes first.
  WithSettings([this](TRegIniFile& store) {
    Offer(ServeurSMTP, Reg::ReadSmtpServer(store));
    Offer(email, Reg::ReadEmailAddress(store));
  });
  const std::string conference =
      ReadForeignText(HKEY_CURRENT_USER, Reg::NetscapeConferenceKey, Reg::NetscapeConferenceEmail);
  if (!conference.empty()) {
    Offer(email, conference);
    Offer(ServeurSMTP, ServerFor(conference));
  }
  const std::string navigator =
      ReadForeignText(HKEY_LOCAL_MACHINE, Reg::NetscapeNavigatorKey, Reg::NetscapeNavigatorUser);
  if (!navigator.empty()) {
    Offer(ServeurSMTP, ServerFor(navigator));
    Offer(email, navigator);
  }
  for (TComboBox* list : {&ServeurSMTP, &email}) {
    if (list->Count() > 0)
      list->SetItemIndex(0);
    else
      list->SetText({});
  }

  MidiOpen();
  if (MidiOK()) {
    // A box left checked at the last showing keeps the music stopped.
    Exorciste.SetEnabled(!cbCouperLeSon.Checked());
    cbCouperLeSon.Show();
  } else {
    Exorciste.SetEnabled(false);
    cbCouperLeSon.Hide();
  }
}

void TfBugReport::FormHide() {
  Exorciste.SetEnabled(false);
  MidiClose();
}

void TfBugReport::FormCloseQuery(bool& canClose) { canClose = !sending_; }

void TfBugReport::cbCouperLeSonClick() { Exorciste.SetEnabled(!cbCouperLeSon.Checked()); }

void TfBugReport::ExorcisteTimer() { Exorciste.SetInterval(MelodyTick()); }

// ---------------------------------------------------------------- sending

void TfBugReport::WaitWhile(const std::function<bool()>& busy) {
  // Each event of the client comes as a message, and the client ends every
  // wait of its own: the loop sleeps until then.
  while (busy() && !Application.Terminated && Handle()) Application.HandleMessage();
}

void TfBugReport::EnvoyerClick() {
  if (sending_) return;
  Envoyer.SetEnabled(false);
  Annuler.SetEnabled(false);
  sending_ = true;
  const TScopeExit giveBack([this] {
    sending_ = false;
    Envoyer.SetEnabled(true);
    Annuler.SetEnabled(true);
  });

  const std::string server = Trim(ServeurSMTP.Text());
  address_ = Trim(email.Text());
  if (server.empty()) {
    ShowMessage(Msg::NoSmtpServer);
    return;
  }
  if (address_.empty()) {
    ShowMessage(Msg::NoEmailAddress);
    return;
  }
  WithSettings([&](TRegIniFile& store) {
    Reg::WriteSmtpServer(store, server);
    Reg::WriteEmailAddress(store, address_);
  });

  if (SMTP.State() == SmtpState::Connected) {
    // The session goes on; the server box may name another one now.
    SMTP.RemoteHost = server;
    Failed = false;
    SMTP.Renew();
  } else if (SMTP.State() == SmtpState::Disconnected) {
    SMTP.RemoteHost = server;
    Failed = false;
    SMTP.Connect();
  }
  // Also ends when nothing was started or the client gave up without an
  // error: never a wait for an event that cannot come.
  WaitWhile([this] { return SMTP.Busy(); });

  if (SMTP.State() == SmtpState::Connected) {
    Verified = false;
    Failed = false;
    SMTP.Verify(Msg::SupportAddress);
    WaitWhile([this] { return SMTP.Busy(); });
    // A transfer broken by an error has been reported by its own box: it is
    // not also "sent", and the report stays in the window to try again.
    if (Failed) return;
    if (!Verified) {
      MessageDlg(Msg::IncorrectAddress, mtError, mbOK);
      return;
    }
    ShowMessageBox(Msg::ReportSent, Msg::AppCaption, MB_OK | MB_ICONINFORMATION);
    sending_ = false;
    ModalResult = mrOk;
    if (!Modal()) Hide();
  } else {
    MessageDlg(Msg::NotConnected, mtError, mbOK);
  }
}

void TfBugReport::SMTPVerify() {
  TDocHeaders& headers = SMTP.DocInput().Headers;
  headers.Clear();
  headers.Add(MailHeader::To, Msg::SupportAddress);
  headers.Add(MailHeader::From, address_);
  headers.Add(MailHeader::Cc, "");
  headers.Add(MailHeader::Subject, Msg::MailSubject);
  headers.Add(MailHeader::MessageId,
              Format(Msg::MailMessageIdFormat, Application.Title.c_str(), NowText().c_str(), address_.c_str()));
  headers.Add(MailHeader::ContentType, Msg::MailContentType);
  SMTP.SendDoc(headers, Memo.Text());
  Verified = true;
}

void TfBugReport::SMTPStateChanged(int16_t state) {
  // Each state names the server it concerns: while the old session ends to
  // make way for a new server, the old one.
  const std::string& host = SMTP.StateHost();
  switch (state) {
    case SmtpState::Connecting:
      SetStatus(Format(Msg::StatusConnecting, host.c_str()));
      break;
    case SmtpState::ResolvingHost:
      SetStatus(Msg::StatusResolving);
      break;
    case SmtpState::HostResolved:
      SetStatus(Msg::StatusResolved);
      break;
    case SmtpState::Connected:
      sessionMade_ = true;
      SetStatus(Msg::StatusConnected + host);
      break;
    case SmtpState::Disconnecting:
      SetStatus(Format(Msg::StatusDisconnecting, host.c_str()));
      break;
    case SmtpState::Disconnected:
      SetStatus((sessionMade_ ? Msg::StatusDisconnected : Msg::StatusNotConnected) + host);
      sessionMade_ = false;
      break;
    default:
      break;
  }
}

void TfBugReport::SMTPDocInput(TDocInput& doc) {
  switch (doc.State) {
    case DocInputState::Initializing:
      SetStatus(Msg::StatusDocInitialize);
      break;
    case DocInputState::SendingHeaders:
      SetStatus(Msg::StatusDocHeaders);
      break;
    case DocInputState::SendingData:
      if (doc.BytesTotal < 1) {
        SetStatus(Msg::StatusDocSending);
      } else {
        const int percent = static_cast<int>(std::trunc(doc.BytesTransferred * 100.0 / doc.BytesTotal));
        SetStatus(Format(Msg::StatusDocProgress, static_cast<int>(doc.BytesTransferred),
                         static_cast<int>(doc.BytesTotal), percent));
      }
      break;
    case DocInputState::Done:
      if (Failed)
        SetStatus(Msg::StatusDocBroken);
      else
        SetStatus(Format(Msg::StatusDocSent, Msg::SupportAddress, static_cast<int>(doc.BytesTransferred)));
      break;
    default:
      return;
  }
  StatusBar.Update();
}

void TfBugReport::pSMTPError(int16_t number, const std::string& description, int32_t /*scode*/,
                             const std::string& /*source*/, const std::string& /*helpFile*/,
                             int32_t /*helpContext*/, bool& cancelDisplay) {
  Failed = true;
  cancelDisplay = true;
  // Every detail the client has, each in brackets.
  std::string detail;
  for (int i = 1; i <= SMTP.Errors().Count(); ++i) detail += " (" + SMTP.Errors().Item(i).Description + ")";
  MessageDlg(Trim(Format(Msg::SmtpErrorFormat, static_cast<int>(number), description.c_str(), detail.c_str())), mtError,
             mbOK);
}

// ---------------------------------------------------------------- entry points

bool CreateBugReportWindow() {
  if (OwnedWindow) return true;
  try {
    OwnedWindow = std::make_unique<TfBugReport>();
    return true;
  } catch (...) {
    OwnedWindow.reset();
    return false;
  }
}

void ShowBugReport() {
  if (OwnedWindow && !OwnedWindow->Visible()) OwnedWindow->ShowModal();
}

void FreeBugReportWindow() { OwnedWindow.reset(); }
