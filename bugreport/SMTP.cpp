#include "SMTP.h"

#include <algorithm>

#include "BugReportTexts.h"
#include "Dialogs.h"
#include "SMTPConnection.h"
#include "uChaines.h"

namespace {
// Posted by the worker to the control's window: events are waiting.
constexpr UINT WM_SMTP_EVENTS = WM_APP + 0x320;
// How long a QUIT may take when the session ends.
constexpr int QuitTimeoutMs = 2000;
}  // namespace

TSMTP::TSMTP() : abort_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TSMTP::~TSMTP() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    // A command under way is cut short; an idle session still says QUIT.
    if (running_ || !commands_.empty()) SetEvent(abort_.Get());
    commands_.clear();
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void TSMTP::Create(TControl& parent) {
  TCustomControl::Create(parent, {0, 0, 0, 0});
  Hide();
  window_ = Handle();
}

// ---------------------------------------------------------------- commands

void TSMTP::Queue(TCommand command) {
  command.Timeout = Timeout;
  command.ImplicitTlsPort = ImplicitTlsPort;
  command.UserName = UserName;
  command.Password = Password;
  cancelled_ = false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!worker_.joinable()) worker_ = std::thread(&TSMTP::Work, this);
  commands_.push_back(std::move(command));
  ++pending_;  // only once the command is sure to run
  wake_.notify_one();
}

void TSMTP::Connect(std::optional<std::string> host, std::optional<int> port) {
  if (host) RemoteHost = *host;
  TCommand c;
  c.Kind = TCommand::Connect;
  c.Host = RemoteHost;
  c.Port = port;
  Queue(std::move(c));
}

void TSMTP::Verify(const std::string& address) {
  refusal_.clear();
  TCommand c;
  c.Kind = TCommand::Verify;
  c.Address = address;
  Queue(std::move(c));
}

void TSMTP::SendDoc(const TDocHeaders& headers, const std::string& inputData) {
  TCommand c;
  c.Kind = TCommand::Send;
  c.Headers = headers;
  c.Data = inputData;
  Queue(std::move(c));
}

void TSMTP::Renew() {
  TCommand c;
  c.Kind = TCommand::Renew;
  c.Host = RemoteHost;
  Queue(std::move(c));
}

void TSMTP::Cancel() {
  cancelled_ = true;
  std::lock_guard<std::mutex> lock(mutex_);
  // The commands that wait are dropped: each still counts as done.
  for (size_t i = 0; i < commands_.size(); ++i)
    if (pending_ > 0) --pending_;
  commands_.clear();
  if (running_) {
    stopping_ = true;
    SetEvent(abort_.Get());
  } else if (state_ == SmtpState::Connected) {
    // An idle session: one command to close it.
    TCommand close;
    close.Kind = TCommand::Close;
    commands_.push_back(std::move(close));
    ++pending_;
    wake_.notify_one();
  }
}

// ---------------------------------------------------------------- events (user-interface thread)

LRESULT TSMTP::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SMTP_EVENTS) {
    RaiseEvents();
    return 0;
  }
  return TCustomControl::WndProc(msg, wp, lp);
}

void TSMTP::RaiseEvents() {
  for (;;) {
    TEvent e;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (events_.empty()) return;
      e = std::move(events_.front());
      events_.pop_front();
    }
    // A handler that fails is reported, and the events after it still
    // come: the form may be waiting for the last one.
    try {
      Raise(e);
    } catch (...) {
      Application.HandleException();
    }
  }
}

void TSMTP::Raise(const TEvent& e) {
  switch (e.Kind) {
    case TEvent::StateChanged:
      state_ = static_cast<int16_t>(e.Value);
      stateHost_ = e.Host;
      if (OnStateChanged) OnStateChanged(state_);
      break;
    case TEvent::DocInput:
      docInput_.State = static_cast<int16_t>(e.Value);
      docInput_.BytesTotal = e.Total;
      docInput_.BytesTransferred = e.Transferred;
      if (OnDocInput) OnDocInput(docInput_);
      break;
    case TEvent::Verified:
      if (OnVerify) OnVerify();
      break;
    case TEvent::Refused:
      refusal_ = e.Details;
      break;
    case TEvent::Error: {
      errors_.items_.clear();
      for (const std::string& d : e.Details) errors_.items_.push_back({d});
      bool cancelDisplay = false;
      if (OnError)
        OnError(static_cast<int16_t>(e.Value), e.Description, 0, Msg::SmtpErrorTitle, std::string(), 0, cancelDisplay);
      if (!cancelDisplay) ShowMessageBox(e.Description, Msg::SmtpErrorTitle, MB_OK | MB_ICONERROR);
      break;
    }
    case TEvent::Done:
      if (pending_ > 0) --pending_;
      break;
  }
}

// ---------------------------------------------------------------- the worker thread

void TSMTP::Post(TEvent e) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(e));
  }
  PostMessageA(window_, WM_SMTP_EVENTS, 0, 0);
}

void TSMTP::PostState(int state) {
  TEvent e;
  e.Kind = TEvent::StateChanged;
  e.Value = state;
  e.Host = sessionHost_;
  Post(std::move(e));
}

void TSMTP::PostDoc(int state, size_t total, size_t transferred) {
  TEvent e;
  e.Kind = TEvent::DocInput;
  e.Value = state;
  e.Total = static_cast<int32_t>(std::min<size_t>(total, INT32_MAX));
  e.Transferred = static_cast<int32_t>(std::min<size_t>(transferred, INT32_MAX));
  Post(std::move(e));
}

void TSMTP::Work() {
  connection_ = std::make_unique<TSMTPConnection>(abort_.Get());
  for (;;) {
    TCommand c;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !commands_.empty(); });
      if (closing_) break;
      c = std::move(commands_.front());
      commands_.pop_front();
      running_ = true;
      // A Cancel is over once its command has ended.
      stopping_ = false;
      ResetEvent(abort_.Get());
    }
    // Nothing may leave the thread: whatever fails is the command's error.
    try {
      Run(c);
    } catch (const ESMTPError& e) {
      Fail(e);
    } catch (const std::exception& e) {
      Fail(ESMTPError(0, e.what()));
    } catch (...) {
      Fail(ESMTPError(0, Msg::SmtpInternalError));
    }
    bool stopped;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped = stopping_;
    }
    // Cancelled: the session ends, even when the command got through.
    if (stopped && connection_->IsOpen()) Disconnect(false);
    TEvent done;
    done.Kind = TEvent::Done;
    Post(std::move(done));
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
  }
  try {
    if (connection_->IsOpen()) Disconnect(true);
  } catch (...) {
    // The session ends with the control whatever the server says.
  }
  connection_.reset();
}

void TSMTP::Run(const TCommand& c) {
  connection_->Timeout = c.Timeout;
  connection_->ImplicitTls = c.ImplicitTlsPort;
  switch (c.Kind) {
    case TCommand::Connect:
      RunConnect(c);
      break;
    case TCommand::Verify:
      RunVerify(c);
      break;
    case TCommand::Send:
      RunSend(c);
      break;
    case TCommand::Renew:
      RunRenew(c);
      break;
    case TCommand::Close:
      if (connection_->IsOpen()) Disconnect(true);
      break;
  }
}

void TSMTP::Fail(const ESMTPError& e) {
  bool stopped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped = stopping_;
  }
  // What the user stopped is no error of the server's.
  if (stopped && e.Number == WSAEINTR) {
    Disconnect(false);
    return;
  }
  TEvent error;
  error.Kind = TEvent::Error;
  error.Value = e.Number;
  error.Description = e.what();
  error.Details = e.Details;
  Post(std::move(error));
  // A server that answered can still hear QUIT; one that is gone cannot.
  bool answered = e.Number >= 200 && e.Number < 600 && !ConnectionLost(e);
  Disconnect(answered);
}

void TSMTP::Disconnect(bool politely) {
  if (connected_) PostState(SmtpState::Disconnecting);
  if (politely && connection_->IsOpen()) {
    // A short wait for this QUIT only: the next session waits in full.
    const int timeout = connection_->Timeout;
    connection_->Timeout = std::min(timeout, QuitTimeoutMs);
    try {
      connection_->Command("QUIT");
    } catch (const ESMTPError&) {
      // Closed either way.
    }
    connection_->Timeout = timeout;
  }
  connection_->Close();
  connected_ = false;
  PostState(SmtpState::Disconnected);
}

void TSMTP::Expect(const TSMTPReply& reply, const std::string& command) {
  if (!reply.Completed()) throw ESMTPError(reply.Code, Msg::SmtpRefused + command, reply.Lines);
}

void TSMTP::RunConnect(const TCommand& c) {
  if (connection_->IsOpen()) return;
  sessionHost_ = c.Host;
  if (!winsock_.Started()) throw ESMTPError(WSANOTINITIALISED, Msg::SmtpNoWinsock);
  std::string host;
  int port;
  SplitHostPort(c.Host, host, port, c.UserName.empty() ? DefaultSmtpPort : SubmissionPort);
  if (c.Port) port = *c.Port;
  connection_->Open(host, port, [this](TSMTPConnection::TPhase phase) {
    PostState(phase == TSMTPConnection::TPhase::Resolving  ? SmtpState::ResolvingHost
              : phase == TSMTPConnection::TPhase::Resolved ? SmtpState::HostResolved
                                                           : SmtpState::Connecting);
  });
  if (!c.UserName.empty()) connection_->Login(c.UserName, c.Password);
  connectedHost_ = host;
  connectedPort_ = port;
  connectedUser_ = c.UserName;
  connected_ = true;
  PostState(SmtpState::Connected);
}

void TSMTP::RunRenew(const TCommand& c) {
  if (!connection_->IsOpen()) return;
  std::string host;
  int port;
  SplitHostPort(c.Host, host, port, c.UserName.empty() ? DefaultSmtpPort : SubmissionPort);
  if (!SameTextAscii(host, connectedHost_) || port != connectedPort_ || c.UserName != connectedUser_) {
    // The user now names another server, or logs in otherwise.
    Disconnect(true);
    RunConnect(c);
    return;
  }
  try {
    Expect(connection_->Command("RSET"), "RSET");
  } catch (const ESMTPError& e) {
    if (!ConnectionLost(e)) throw;
    // Servers close idle sessions after a few minutes: a new one.
    Disconnect(false);
    RunConnect(c);
  }
}

void TSMTP::RunVerify(const TCommand& c) {
  if (!connection_->IsOpen()) throw ESMTPError(WSAENOTCONN, Msg::SmtpNotConnected);
  if (!ValidEnvelopeAddress(c.Address)) return;  // not an address: not verified
  bool accepted = true;
  TSMTPReply reply = connection_->Command("MAIL FROM:<>");
  if (reply.Completed()) {
    const std::string rcpt = "RCPT TO:<" + c.Address + ">";
    reply = connection_->Command(rcpt);
    if (reply.Code >= 500) {
      accepted = false;
      TEvent refused;
      refused.Kind = TEvent::Refused;
      refused.Details = reply.Lines;
      Post(std::move(refused));
    } else
      Expect(reply, rcpt);  // a temporary refusal is an error: try again later
    Expect(connection_->Command("RSET"), "RSET");
  } else if (reply.Code < 500) {
    Expect(reply, "MAIL FROM:<>");
  }
  // A server that will not hear the null sender cannot be asked this way;
  // the mail itself will tell.
  if (accepted) {
    TEvent verified;
    verified.Kind = TEvent::Verified;
    Post(std::move(verified));
  }
}

void TSMTP::RunSend(const TCommand& c) {
  if (!connection_->IsOpen()) throw ESMTPError(WSAENOTCONN, Msg::SmtpNotConnected);
  const TMailData data = MailData(c.Headers, c.Data);
  const size_t total = data.Size();
  size_t transferred = 0;
  PostDoc(DocInputState::Initializing, total, 0);
  try {
    const std::string sender = EnvelopeAddress(c.Headers.Value(MailHeader::From));
    if (!ValidEnvelopeAddress(sender)) throw ESMTPError(SmtpReply::SyntaxError, Msg::SmtpBadSender + sender);
    const std::vector<std::string> recipients = Recipients(c.Headers);
    if (recipients.empty()) throw ESMTPError(SmtpReply::NoValidRecipients, Msg::SmtpNoRecipient);
    for (const std::string& r : recipients)
      if (!ValidEnvelopeAddress(r)) throw ESMTPError(SmtpReply::SyntaxError, Msg::SmtpBadRecipient + r);

    const std::string mail = "MAIL FROM:<" + sender + ">";
    Expect(connection_->Command(mail), mail);
    for (const std::string& r : recipients) {
      const std::string rcpt = "RCPT TO:<" + r + ">";
      Expect(connection_->Command(rcpt), rcpt);
    }
    TSMTPReply reply = connection_->Command("DATA");
    if (reply.Code != SmtpReply::StartMailInput) throw ESMTPError(reply.Code, Msg::SmtpRefused + std::string("DATA"), reply.Lines);

    PostDoc(DocInputState::SendingHeaders, total, 0);
    connection_->Send(data.Headers, [&](size_t sent) { transferred = sent; });
    PostDoc(DocInputState::SendingData, total, transferred);
    connection_->Send(data.Body, [&](size_t sent) {
      transferred = data.Headers.size() + sent;
      PostDoc(DocInputState::SendingData, total, transferred);
    });
    reply = connection_->Command(".");
    if (!reply.Completed()) throw ESMTPError(reply.Code, Msg::SmtpRefusedMessage, reply.Lines);
    PostDoc(DocInputState::Done, total, total);
  } catch (const ESMTPError& e) {
    // The error first, then the end of the connection, and last the end of
    // the broken transfer.
    Fail(e);
    PostDoc(DocInputState::Done, total, transferred);
  }
}
