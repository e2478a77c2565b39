// The SMTP client of the bug report, hosted on its form as a control. The
// conversation runs on a worker thread; what it reports reaches the form as
// events raised on the user-interface thread, from messages posted to the
// control's own (hidden) window, in the order they happened.
//
// States: connecting a client in the Disconnected state goes through
// ResolvingHost, HostResolved and Connecting to Connected (after the
// greeting and EHLO or HELO). Any failure raises OnError and leaves the
// client Disconnected (through Disconnecting when it was connected).
#pragma once

#include <winsock2.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Forms.h"
#include "Handle.h"
#include "SMTPConnection.h"
#include "SMTPMessage.h"
#include "Socket.h"

namespace SmtpState {
enum : int16_t { Connecting = 1, ResolvingHost = 2, HostResolved = 3, Connected = 4, Disconnecting = 5, Disconnected = 6 };
}
namespace DocInputState {
enum : int16_t { Initializing = 1, SendingHeaders = 2, SendingData = 3, Done = 5 };
}

// The document being sent: its state, its size and progress, its headers.
struct TDocInput {
  int16_t State = 0;
  int32_t BytesTotal = 0;
  int32_t BytesTransferred = 0;
  TDocHeaders Headers;
};

// The details of the last error (1-based, as the form reads them).
class TSMTPErrors {
 public:
  struct TItem {
    std::string Description;
  };
  int Count() const { return static_cast<int>(items_.size()); }
  const TItem& Item(int i) const { return items_.at(static_cast<size_t>(i - 1)); }

 private:
  friend class TSMTP;
  std::vector<TItem> items_;
};

class TSMTP : public TCustomControl {
 public:
  TSMTP();
  ~TSMTP() override;

  // An invisible control on the form.
  void Create(TControl& parent);

  // "host", "host:port", "[IPv6]:port"; unless given, port 587 when a
  // login is sent, 25 otherwise. Port 465 is TLS from the first byte;
  // elsewhere the session is encrypted with STARTTLS when the server offers
  // it.
  std::string RemoteHost;
  // A login (AUTH PLAIN or LOGIN) follows the greeting when UserName is not
  // empty; it is never sent on a session that is not encrypted.
  std::string UserName;
  std::string Password;
  // Milliseconds that each wait for the server may last.
  int Timeout = 60000;
  // The port where TLS comes first (465, RFC 8314).
  int ImplicitTlsPort = ::ImplicitTlsPort;

  int16_t State() const { return state_; }
  // The server the last state concerns, as it was given: while a session
  // ends to make way for another, the one that ends.
  const std::string& StateHost() const { return stateHost_; }
  // A command is running or waiting to run.
  bool Busy() const { return pending_ > 0; }
  TDocInput& DocInput() { return docInput_; }
  const TSMTPErrors& Errors() const { return errors_; }
  // The server's words when it refused the recipient of the last Verify.
  const std::vector<std::string>& Refusal() const { return refusal_; }

  // Connects to host (default RemoteHost, which it replaces) on port
  // (default the one in the host text, or 25).
  void Connect(std::optional<std::string> host = std::nullopt, std::optional<int> port = std::nullopt);
  // Asks the server whether it takes mail for the address (MAIL FROM:<>,
  // RCPT TO, RSET); OnVerify follows when it does. A refusal is no error.
  void Verify(const std::string& address);
  // Sends the memo: the envelope from the From, To and CC headers, the
  // headers and the data as they are (line ends and leading dots aside).
  void SendDoc(const TDocHeaders& headers, const std::string& inputData);
  // Makes a connected session ready for a new mail: RSET; when RemoteHost
  // names another server, or this one has closed the connection meanwhile,
  // connects again (to RemoteHost).
  void Renew();
  // Stops what is under way and what waits, and closes the connection; no
  // error follows, the states Disconnecting and Disconnected do.
  void Cancel();
  // Cancel was called since the last command was given.
  bool Cancelled() const { return cancelled_; }

  std::function<void(int16_t state)> OnStateChanged;
  std::function<void(TDocInput& docInput)> OnDocInput;
  std::function<void()> OnVerify;
  std::function<void(int16_t number, const std::string& description, int32_t scode, const std::string& source,
                     const std::string& helpFile, int32_t helpContext, bool& cancelDisplay)>
      OnError;

 protected:
  struct TCommand {
    enum TKind { Connect, Verify, Send, Renew, Close } Kind = Connect;
    std::string Host;
    std::optional<int> Port;
    std::string Address;
    TDocHeaders Headers;
    std::string Data;
    std::string UserName, Password;
    int Timeout = 0;
    int ImplicitTlsPort = 0;
  };

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // One command, on the worker thread; whatever it throws is its error.
  virtual void Run(const TCommand& c);

 private:
  struct TEvent {
    enum TKind { StateChanged, DocInput, Verified, Refused, Error, Done } Kind = Done;
    int Value = 0;  // state, document state or error number
    std::string Host;  // the server a state concerns
    int32_t Total = 0, Transferred = 0;
    std::string Description;
    std::vector<std::string> Details;
  };

  void Queue(TCommand command);
  void RaiseEvents();
  void Raise(const TEvent& e);

  // The worker thread's side.
  void Work();
  void RunConnect(const TCommand& c);
  void RunRenew(const TCommand& c);
  void RunVerify(const TCommand& c);
  void RunSend(const TCommand& c);
  void Fail(const ESMTPError& e);
  void Disconnect(bool politely);
  void Expect(const TSMTPReply& reply, const std::string& command);
  void Post(TEvent e);
  // The state, for the server of the session (or of the attempt).
  void PostState(int state);
  void PostDoc(int state, size_t total, size_t transferred);

  // User-interface thread only.
  int16_t state_ = SmtpState::Disconnected;
  std::string stateHost_;
  int pending_ = 0;
  TDocInput docInput_;
  TSMTPErrors errors_;
  std::vector<std::string> refusal_;
  bool cancelled_ = false;

  // Shared with the worker, under mutex_.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<TCommand> commands_;
  std::deque<TEvent> events_;
  bool closing_ = false;
  bool running_ = false;
  bool stopping_ = false;  // Cancel: the command under way ends the session

  // Worker only.
  std::unique_ptr<TSMTPConnection> connection_;  // made by the worker
  bool connected_ = false;  // Connected was reported
  std::string connectedHost_;
  int connectedPort_ = 0;
  std::string connectedUser_;
  std::string sessionHost_;  // the server text of the session or of the attempt

  TWinsock winsock_;
  THandle abort_;
  HWND window_ = nullptr;
  std::thread worker_;
};
