#include "ufBugReport.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>

#include "BugReportTexts.h"
#include "Format.h"
#include "Melody.h"
#include "Messages.h"
#include "RegKey.h"
#include "SavedPassword.h"
#include "ScopeExit.h"
#include "Settings.h"
#include "uChaines.h"
#include "uMidi.h"

TfBugReport* fBugReport = nullptr;

namespace {

constexpr int BugReportHelpContext = 6;
// The form's height without the login rows, and what they add.
constexpr int BaseClientHeight = 364;
constexpr int LoginRowsHeight = 56;
constexpr int CheckBoxRowTop = 318;
// The server's answer when it wants a login first (RFC 4954).
constexpr int AuthenticationRequired = 530;

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

// Now, local time with its offset from UTC.
TMailTime Now() {
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  FILETIME u{}, l{};
  SystemTimeToFileTime(&utc, &u);
  SystemTimeToFileTime(&local, &l);
  auto ticks = [](const FILETIME& f) { return static_cast<int64_t>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime); };
  const int offset = static_cast<int>((ticks(l) - ticks(u)) / 600000000LL);  // 100 ns ticks to minutes
  return {local.wYear, local.wMonth, local.wDay, local.wDayOfWeek, local.wHour, local.wMinute, local.wSecond, offset};
}

// Unique for this sender: the time to the millisecond, the process and a
// count.
std::string UniquePart() {
  static unsigned count = 0;
  SYSTEMTIME t{};
  GetSystemTime(&t);
  return Format("%04u%02u%02u%02u%02u%02u%03u.%lX.%u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                t.wMilliseconds, GetCurrentProcessId(), ++count);
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
  cbCouperLeSon.Create(*this, {8, CheckBoxRowTop, 200, 17}, Msg::StopMusic);
  cbConnexion.Create(*this, {220, CheckBoxRowTop, 212, 17}, Msg::NeedsLogin);
  Label6.Create(*this, 8, 321, Msg::YourUserName);
  Utilisateur.Create(*this, {140, 317, 292, 21});
  Label7.Create(*this, 8, 349, Msg::YourPassword);
  MotDePasse.Create(*this, {140, 345, 130, 21});
  cbMemoriser.Create(*this, {280, 347, 152, 17}, Msg::RememberPassword);
  ShowLogin(false);
  StatusBar.Create(*this);
  StatusBar.SetPanels({{440, taLeftJustify, {}}});
  SMTP.Create(*this);

  Envoyer.OnClick = [this] { EnvoyerClick(); };
  Annuler.OnClick = [this] { AnnulerClick(); };
  cbCouperLeSon.OnClick = [this] { cbCouperLeSonClick(); };
  cbConnexion.OnClick = [this] { cbConnexionClick(); };
  Memo.OnChange = [this] { MemoChange(); };
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

void TfBugReport::ShowLogin(bool show) {
  for (TControl* c : std::initializer_list<TControl*>{&Label6, &Utilisateur, &Label7, &MotDePasse, &cbMemoriser})
    c->SetVisible(show);
  const int top = CheckBoxRowTop + (show ? LoginRowsHeight : 0);
  cbCouperLeSon.SetTop(top);
  cbConnexion.SetTop(top);
  SetClientSize(440, BaseClientHeight + (show ? LoginRowsHeight : 0));
}

void TfBugReport::UpdateSend() { Envoyer.SetEnabled(!sending_ && !Trim(Memo.Text()).empty()); }

void TfBugReport::MemoChange() { UpdateSend(); }

void TfBugReport::cbConnexionClick() {
  ShowLogin(cbConnexion.Checked());
  if (cbConnexion.Checked() && Visible() && Utilisateur.Text().empty()) Utilisateur.SetFocus();
}

void TfBugReport::AnnulerClick() {
  if (sending_) {
    // During a send Cancel stops the send, and the window stays.
    ModalResult = mrNone;
    SMTP.Cancel();
    return;
  }
  if (!Modal()) Close();
}

// ---------------------------------------------------------------- showing

void TfBugReport::FormShow() {
  ServeurSMTP.Clear();
  email.Clear();
  // What the user sent with last time comes first.
  std::string user, stored;
  WithSettings([&](TRegIniFile& store) {
    Offer(ServeurSMTP, Reg::ReadSmtpServer(store));
    Offer(email, Reg::ReadEmailAddress(store));
    user = Reg::ReadSmtpUserName(store);
    stored = Reg::ReadSmtpPassword(store);
  });
  Utilisateur.SetText(user);
  const std::optional<std::string> password = UnprotectPassword(stored);
  MotDePasse.SetText(password.value_or(std::string()));
  cbMemoriser.SetChecked(password.has_value());
  cbConnexion.SetChecked(!user.empty());
  ShowLogin(cbConnexion.Checked());
  UpdateSend();
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

bool TfBugReport::TakeLogin(std::string& user, std::string& password) {
  user.clear();
  password.clear();
  if (!cbConnexion.Checked()) return true;
  user = Trim(Utilisateur.Text());
  password = MotDePasse.Text();
  if (user.empty()) {
    ShowMessage(Msg::NoUserName);
    return false;
  }
  if (password.empty()) {
    ShowMessage(Msg::NoPassword);
    return false;
  }
  return true;
}

void TfBugReport::EnvoyerClick() {
  if (sending_ || Trim(Memo.Text()).empty()) return;
  // Cancel stays on: during the send it stops the send.
  sending_ = true;
  UpdateSend();
  const TScopeExit giveBack([this] {
    sending_ = false;
    UpdateSend();
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
  std::string user, password;
  if (!TakeLogin(user, password)) return;
  lastError_ = 0;
  WithSettings([&](TRegIniFile& store) {
    Reg::WriteSmtpServer(store, server);
    Reg::WriteEmailAddress(store, address_);
    Reg::WriteSmtpUserName(store, user);
    // The password is kept only when asked, and never in clear.
    const std::string saved = cbMemoriser.Checked() && !password.empty() ? ProtectPassword(password) : std::string();
    if (saved.empty())
      Reg::DeleteSmtpPassword(store);
    else
      Reg::WriteSmtpPassword(store, saved);
  });

  SMTP.UserName = user;
  SMTP.Password = password;
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
  if (SMTP.Cancelled()) {
    SetStatus(Msg::StatusCancelled);
    return;
  }

  if (SMTP.State() == SmtpState::Connected) {
    Verified = false;
    Failed = false;
    SMTP.Verify(Msg::SupportAddress);
    WaitWhile([this] { return SMTP.Busy(); });
    if (SMTP.Cancelled()) {
      SetStatus(Msg::StatusCancelled);
      return;
    }
    // A transfer broken by an error has been reported by its own box: it is
    // not also "sent", and the report stays in the window to try again.
    if (Failed) {
      AskForLoginIfWanted();
      return;
    }
    if (!Verified) {
      // The server's own words say why.
      std::string detail;
      for (const std::string& line : SMTP.Refusal()) detail += " (" + line + ")";
      MessageDlg(Msg::IncorrectAddress + detail, mtError, mbOK);
      return;
    }
    ShowMessageBox(Msg::ReportSent, Msg::AppCaption, MB_OK | MB_ICONINFORMATION);
    // Sent once: the same report does not go twice by mistake.
    Memo.Clear();
    sending_ = false;
    ModalResult = mrOk;
    if (!Modal()) Hide();
  } else {
    MessageDlg(Msg::NotConnected, mtError, mbOK);
  }
}

// The server wants a login and none was given: the fields are offered.
void TfBugReport::AskForLoginIfWanted() {
  if (lastError_ != AuthenticationRequired || cbConnexion.Checked()) return;
  cbConnexion.SetChecked(true);
  Utilisateur.SetFocus();
}

void TfBugReport::SMTPVerify() {
  TDocHeaders& headers = SMTP.DocInput().Headers;
  const TMailBody body = EncodeBody(Memo.Text(), Msg::MailCharset);
  headers.Clear();
  headers.Add(MailHeader::To, Msg::SupportAddress);
  headers.Add(MailHeader::From, address_);
  headers.Add(MailHeader::Cc, "");
  headers.Add(MailHeader::Subject, Msg::MailSubject);
  headers.Add(MailHeader::Date, MailDate(Now()));
  headers.Add(MailHeader::MessageId, MessageId({Application.Title, UniquePart()}, address_));
  headers.Add(MailHeader::MimeVersion, Msg::MailMimeVersion);
  headers.Add(MailHeader::ContentType, body.ContentType);
  headers.Add(MailHeader::TransferEncoding, body.TransferEncoding);
  SMTP.SendDoc(headers, body.Text);
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
      if (Failed || SMTP.Cancelled())
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
  lastError_ = number;
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
