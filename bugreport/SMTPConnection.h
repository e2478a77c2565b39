// One conversation with an SMTP server over Winsock, held by the SMTP
// client's worker thread. Every wait ends: after the timeout, or at once when
// the abort event is set. Failures are raised as ESMTPError.
#pragma once

#include <winsock2.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Handle.h"
#include "Socket.h"

// The reply codes the client acts on (RFC 5321).
namespace SmtpReply {
inline constexpr int ServiceReady = 220;
inline constexpr int Ok = 250;
inline constexpr int AuthSucceeded = 235;
inline constexpr int AuthContinue = 334;
inline constexpr int StartMailInput = 354;
inline constexpr int ServiceNotAvailable = 421;
inline constexpr int SyntaxError = 501;
inline constexpr int NoValidRecipients = 554;
}  // namespace SmtpReply

// Our own error numbers (Winsock's codes end below 12000, reply codes are
// three digits).
namespace SmtpClientError {
inline constexpr int BadReply = 20001;     // an answer that is not SMTP
inline constexpr int Tls = 20002;          // the secure connection failed
inline constexpr int Certificate = 20003;  // the server's certificate is refused
inline constexpr int NoEncryption = 20004; // a login asked, and no TLS offered
inline constexpr int NoLoginMethod = 20005;
}  // namespace SmtpClientError

inline constexpr int DefaultSmtpPort = 25;
// Mail submission (RFC 6409): where a login is sent, after STARTTLS.
inline constexpr int SubmissionPort = 587;
// Submission over TLS from the first byte (RFC 8314).
inline constexpr int ImplicitTlsPort = 465;
// A reply line longer than this is not SMTP (the protocol allows 512).
inline constexpr size_t MaxReplyLine = 4096;
inline constexpr size_t MaxReplyLines = 200;

// A failure: the number is the server's reply code or a Winsock error code;
// the details are the server's reply lines or the system's text of the error.
class ESMTPError : public std::runtime_error {
 public:
  ESMTPError(int number, const std::string& description, std::vector<std::string> details = {})
      : std::runtime_error(description), Number(number), Details(std::move(details)) {}
  int Number;
  std::vector<std::string> Details;
};

// True when the error says the server has gone (closed or reset the
// connection, or announced that it closes it).
bool ConnectionLost(const ESMTPError& e);

struct TSMTPReply {
  int Code = 0;
  std::vector<std::string> Lines;  // the text of each line, after the code
  bool Completed() const { return Code >= 200 && Code < 300; }
};

// "host", "host:port", "[IPv6]" or "[IPv6]:port"; the port is defaultPort
// unless given. Raises ESMTPError when the text names no host or a bad port.
void SplitHostPort(const std::string& text, std::string& host, int& port, int defaultPort = DefaultSmtpPort);

class TTlsSession;

class TSMTPConnection {
 public:
  enum class TPhase { Resolving, Resolved, Connecting };

  // abortEvent: a manual-reset event that cuts every wait short.
  explicit TSMTPConnection(HANDLE abortEvent);
  ~TSMTPConnection();
  TSMTPConnection(const TSMTPConnection&) = delete;
  TSMTPConnection& operator=(const TSMTPConnection&) = delete;

  // Resolves the host, connects to the first address that answers, reads
  // the greeting and introduces itself (EHLO, or HELO for a server that does
  // not know EHLO). On port 465 TLS comes first; elsewhere the session is
  // encrypted with STARTTLS whenever the server offers it (port 465:
  // ImplicitTls). phase is told
  // where it is.
  void Open(const std::string& host, int port, const std::function<void(TPhase)>& phase);
  bool IsOpen() const { return socket_.Valid(); }
  void Close();
  // The session is encrypted, and the server's certificate was accepted.
  bool Encrypted() const;
  // The server's extension of that name (EHLO), and its parameters.
  bool Offers(const std::string& extension, std::vector<std::string>* parameters = nullptr) const;
  // AUTH PLAIN, or LOGIN when the server offers only that; refused before
  // anything is sent on a session that is not encrypted.
  void Login(const std::string& user, const std::string& password);

  // Milliseconds that each wait may last.
  int Timeout = 60000;
  // Where TLS comes first.
  int ImplicitTls = ImplicitTlsPort;

  // Sends one command line (CR LF added) and reads the reply. A 421 reply
  // (the server closes the connection) is raised as an error.
  TSMTPReply Command(const std::string& line);
  // Sends the bytes as they are; progress(total sent so far) after each
  // piece.
  void Send(const std::string& bytes, const std::function<void(size_t)>& progress = {});
  TSMTPReply ReadReply();

 private:
  // Until one of the socket events (FD_READ...) or the deadline (a tick
  // count), whichever comes first.
  void WaitFor(long events, ULONGLONG deadline);
  std::string ReadLine(ULONGLONG deadline);
  std::string Greeting() const;
  void Hello();
  void StartTls();
  // The TLS handshake and the check of the certificate, on the open socket.
  void Secure();
  [[noreturn]] void RaiseSocketError(int code) const;
  // The bytes as they go on the wire (encrypted or not).
  void SendRaw(const char* bytes, size_t size);
  void ReceiveRaw(std::string& into, ULONGLONG deadline);

  HANDLE abort_;
  THandle netEvent_;
  TSocket socket_;
  std::unique_ptr<TTlsSession> tls_;
  std::string host_;
  std::vector<std::string> extensions_;  // EHLO's lines after the first
  std::string input_;  // received (decrypted), not yet read
  bool peerClosed_ = false;
  int connectError_ = 0;
};
