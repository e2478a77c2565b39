#include "SMTPConnection.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <memory>

#include "BugReportTexts.h"
#include "Format.h"
#include "SMTPTls.h"
#include "SystemText.h"
#include "uChaines.h"

namespace {

// Bytes handed to send() at a time: progress is reported after each.
constexpr size_t SendPiece = 16384;

// The system's own words for a Winsock error, when it has some.
std::vector<std::string> SystemText(int code) {
  std::string text = SystemErrorText(static_cast<DWORD>(code));
  if (text.empty()) return {};
  return {text};
}

using TAddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

bool IsDomainName(const std::string& name) {
  if (name.empty() || name.front() == '-' || name.front() == '.' || name.back() == '-' || name.back() == '.')
    return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
  });
}

ULONGLONG Deadline(int timeoutMs) { return GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0)); }

}  // namespace

bool ConnectionLost(const ESMTPError& e) {
  return e.Number == WSAECONNRESET || e.Number == WSAECONNABORTED || e.Number == WSAESHUTDOWN ||
         e.Number == WSAENOTCONN || e.Number == SmtpReply::ServiceNotAvailable;
}

void SplitHostPort(const std::string& text, std::string& host, int& port, int defaultPort) {
  const std::string t = Trim(text);
  std::string portText;
  bool hasPort = false;
  port = defaultPort;
  if (!t.empty() && t.front() == '[') {
    size_t close = t.find(']');
    if (close == std::string::npos) throw ESMTPError(WSAEINVAL, Msg::SmtpHostNotFound + t);
    host = t.substr(1, close - 1);
    std::string rest = t.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') throw ESMTPError(WSAEINVAL, Msg::SmtpHostNotFound + t);
      portText = rest.substr(1);
      hasPort = true;
    }
  } else if (std::count(t.begin(), t.end(), ':') == 1) {
    size_t colon = t.find(':');
    host = t.substr(0, colon);
    portText = t.substr(colon + 1);
    hasPort = true;
  } else {
    host = t;  // a name, an IPv4 address, or an IPv6 address without a port
  }
  if (host.empty()) throw ESMTPError(WSAEINVAL, Msg::SmtpNoHost);
  if (hasPort) {
    bool digits = !portText.empty() && portText.size() <= 5 &&
                  std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; });
    int value = digits ? std::stoi(portText) : 0;
    if (value < 1 || value > 65535) throw ESMTPError(WSAEINVAL, Msg::SmtpBadPort + portText);
    port = value;
  }
}

void TSMTPConnection::RaiseSocketError(int code) const {
  std::string description;
  switch (code) {
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAESHUTDOWN:
      description = Msg::SmtpConnectionClosed;
      break;
    case WSAETIMEDOUT:
      description = Format(Msg::SmtpTimeout, (Timeout + 999) / 1000);
      break;
    default:
      description = Msg::SmtpNetworkError;
  }
  throw ESMTPError(code, description, SystemText(code));
}

TSMTPConnection::TSMTPConnection(HANDLE abortEvent) : abort_(abortEvent) {}
TSMTPConnection::~TSMTPConnection() = default;

bool TSMTPConnection::Encrypted() const { return tls_ && tls_->Active(); }

void TSMTPConnection::Open(const std::string& host, int port, const std::function<void(TPhase)>& phase) {
  Close();
  host_ = host;
  if (!netEvent_.Valid()) {
    netEvent_.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!netEvent_.Valid()) RaiseSocketError(static_cast<int>(GetLastError()));
  }
  phase(TPhase::Resolving);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (rc != 0 || !found) throw ESMTPError(rc ? rc : WSAHOST_NOT_FOUND, Msg::SmtpHostNotFound + host, SystemText(rc));
  TAddressList addresses(found, &freeaddrinfo);
  phase(TPhase::Resolved);

  phase(TPhase::Connecting);
  int lastError = WSAECONNREFUSED;
  for (addrinfo* a = addresses.get(); a; a = a->ai_next) {
    socket_.Attach(socket(a->ai_family, a->ai_socktype, a->ai_protocol));
    if (!socket_.Valid()) {
      lastError = WSAGetLastError();
      continue;
    }
    ResetEvent(netEvent_.Get());
    connectError_ = 0;
    if (WSAEventSelect(socket_.Get(), netEvent_.Get(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0) {
      lastError = WSAGetLastError();
      Close();
      continue;
    }
    int r = connect(socket_.Get(), a->ai_addr, static_cast<int>(a->ai_addrlen));
    int error = r == 0 ? 0 : WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      try {
        WaitFor(FD_CONNECT, Deadline(Timeout));
      } catch (const ESMTPError& e) {
        Close();
        if (e.Number == WSAEINTR) throw;
        lastError = e.Number;
        continue;
      }
      error = connectError_;
    }
    if (error == 0) break;
    lastError = error;
    Close();
  }
  const std::string where = host + ":" + std::to_string(port);
  if (!socket_.Valid()) {
    std::vector<std::string> details = SystemText(lastError);
    throw ESMTPError(lastError, Msg::SmtpCannotConnect + where, details);
  }

  if (port == ImplicitTls) Secure();
  TSMTPReply greeting = ReadReply();
  if (greeting.Code != SmtpReply::ServiceReady) throw ESMTPError(greeting.Code, Msg::SmtpRefusedConnection, greeting.Lines);
  Hello();
  if (!Encrypted() && Offers("STARTTLS")) StartTls();
}

void TSMTPConnection::Hello() {
  const std::string me = Greeting();
  TSMTPReply hello = Command("EHLO " + me);
  if (hello.Code >= 500) hello = Command("HELO " + me);  // a server of before the extensions
  if (hello.Code != SmtpReply::Ok) throw ESMTPError(hello.Code, Msg::SmtpRefused + std::string("HELO"), hello.Lines);
  extensions_.assign(hello.Lines.begin() + 1, hello.Lines.end());
}

void TSMTPConnection::StartTls() {
  TSMTPReply reply = Command("STARTTLS");
  if (reply.Code != SmtpReply::ServiceReady) throw ESMTPError(reply.Code, Msg::SmtpRefused + std::string("STARTTLS"), reply.Lines);
  // Nothing may come in the clear after the server's yes: it would pass
  // for the encrypted server's words.
  if (!input_.empty()) throw ESMTPError(SmtpClientError::BadReply, Msg::SmtpBadReply);
  Secure();
  // What the server said before counts no more (RFC 3207).
  extensions_.clear();
  Hello();
}

void TSMTPConnection::Secure() {
  tls_ = std::make_unique<TTlsSession>();
  const ULONGLONG deadline = Deadline(Timeout);
  tls_->Handshake(
      host_, [this](const char* b, size_t n) { SendRaw(b, n); },
      [this, deadline](std::string& into) { ReceiveRaw(into, deadline); });
}

bool TSMTPConnection::Offers(const std::string& extension, std::vector<std::string>* parameters) const {
  for (const std::string& line : extensions_) {
    std::string rest = line;
    std::string keyword;
    SplitFirst(rest, ' ', keyword);
    if (!SameTextAscii(keyword, extension)) continue;
    if (parameters) {
      parameters->clear();
      while (!rest.empty()) {
        std::string word;
        SplitFirst(rest, ' ', word);
        if (!word.empty()) parameters->push_back(word);
      }
    }
    return true;
  }
  return false;
}

void TSMTPConnection::Close() {
  socket_.Close();
  tls_.reset();
  extensions_.clear();
  if (netEvent_.Valid()) ResetEvent(netEvent_.Get());
  input_.clear();
  peerClosed_ = false;
  connectError_ = 0;
}

// The name we give in EHLO: the machine's name when it is a plain domain
// name, otherwise our address as a literal, which every server accepts.
std::string TSMTPConnection::Greeting() const {
  char name[256] = {};
  if (gethostname(name, sizeof name) == 0 && IsDomainName(name)) return name;
  sockaddr_storage local{};
  int length = sizeof local;
  char address[NI_MAXHOST] = {};
  if (getsockname(socket_.Get(), reinterpret_cast<sockaddr*>(&local), &length) == 0 &&
      getnameinfo(reinterpret_cast<sockaddr*>(&local), length, address, sizeof address, nullptr, 0, NI_NUMERICHOST) == 0) {
    std::string literal(local.ss_family == AF_INET6 ? "[IPv6:" : "[");
    literal.append(address).append("]");
    return literal;
  }
  return "[127.0.0.1]";
}

void TSMTPConnection::WaitFor(long events, ULONGLONG deadline) {
  for (;;) {
    if (peerClosed_ && (events & FD_CLOSE)) return;
    ULONGLONG now = GetTickCount64();
    DWORD left = deadline > now ? static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1)) : 0;
    // The abort event first: it wins when both are set.
    HANDLE handles[2] = {abort_, netEvent_.Get()};
    DWORD r = WaitForMultipleObjects(2, handles, FALSE, left);
    if (r == WAIT_OBJECT_0) throw ESMTPError(WSAEINTR, Msg::SmtpStopped);
    if (r == WAIT_TIMEOUT) RaiseSocketError(WSAETIMEDOUT);
    if (r != WAIT_OBJECT_0 + 1) RaiseSocketError(static_cast<int>(GetLastError()));
    WSANETWORKEVENTS happened{};
    if (WSAEnumNetworkEvents(socket_.Get(), netEvent_.Get(), &happened) != 0) RaiseSocketError(WSAGetLastError());
    if (happened.lNetworkEvents & FD_CLOSE) peerClosed_ = true;
    if (happened.lNetworkEvents & FD_CONNECT) connectError_ = happened.iErrorCode[FD_CONNECT_BIT];
    if (happened.lNetworkEvents & events) return;
  }
}

std::string TSMTPConnection::ReadLine(ULONGLONG deadline) {
  for (;;) {
    size_t end = input_.find('\n');
    if (end != std::string::npos) {
      std::string line = input_.substr(0, end);
      input_.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (input_.size() > MaxReplyLine) throw ESMTPError(SmtpClientError::BadReply, Msg::SmtpBadReply);
    if (Encrypted())
      tls_->Receive(
          input_, [this](const char* b, size_t n) { SendRaw(b, n); },
          [this, deadline](std::string& into) { ReceiveRaw(into, deadline); });
    else
      ReceiveRaw(input_, deadline);
  }
}

void TSMTPConnection::ReceiveRaw(std::string& into, ULONGLONG deadline) {
  for (;;) {
    char buffer[16384];
    int n = recv(socket_.Get(), buffer, sizeof buffer, 0);
    if (n > 0) {
      into.append(buffer, static_cast<size_t>(n));
      return;
    }
    if (n == 0) RaiseSocketError(WSAECONNRESET);
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
    if (peerClosed_) RaiseSocketError(WSAECONNRESET);
    WaitFor(FD_READ | FD_CLOSE, deadline);
  }
}

TSMTPReply TSMTPConnection::ReadReply() {
  if (!socket_.Valid()) throw ESMTPError(WSAENOTCONN, Msg::SmtpNotConnected);
  const ULONGLONG deadline = Deadline(Timeout);
  TSMTPReply reply;
  for (;;) {
    std::string line = ReadLine(deadline);
    bool wellFormed = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, [](char c) {
                        return c >= '0' && c <= '9';
                      }) && (line.size() == 3 || line[3] == ' ' || line[3] == '-');
    if (!wellFormed) throw ESMTPError(SmtpClientError::BadReply, Msg::SmtpBadReply, {line});
    if (reply.Lines.empty()) reply.Code = std::stoi(line.substr(0, 3));
    reply.Lines.push_back(line.size() > 4 ? line.substr(4) : std::string());
    if (line.size() == 3 || line[3] == ' ') return reply;
    if (reply.Lines.size() >= MaxReplyLines) throw ESMTPError(SmtpClientError::BadReply, Msg::SmtpBadReply, {line});
  }
}

TSMTPReply TSMTPConnection::Command(const std::string& line) {
  Send(line + "\r\n");
  TSMTPReply reply = ReadReply();
  if (reply.Code == SmtpReply::ServiceNotAvailable)
    throw ESMTPError(reply.Code, Msg::SmtpConnectionClosed, reply.Lines);
  return reply;
}

void TSMTPConnection::Send(const std::string& bytes, const std::function<void(size_t)>& progress) {
  if (!socket_.Valid()) throw ESMTPError(WSAENOTCONN, Msg::SmtpNotConnected);
  for (size_t sent = 0; sent < bytes.size();) {
    const size_t piece = std::min(bytes.size() - sent, SendPiece);
    if (Encrypted())
      tls_->Send(bytes.substr(sent, piece), [this](const char* b, size_t n) { SendRaw(b, n); });
    else
      SendRaw(bytes.data() + sent, piece);
    sent += piece;
    if (progress) progress(sent);
  }
}

void TSMTPConnection::SendRaw(const char* bytes, size_t size) {
  size_t sent = 0;
  ULONGLONG deadline = Deadline(Timeout);
  while (sent < size) {
    int piece = static_cast<int>(std::min(size - sent, SendPiece));
    int n = send(socket_.Get(), bytes + sent, piece, 0);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      deadline = Deadline(Timeout);  // the wait is for the next piece
      continue;
    }
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
    if (peerClosed_) RaiseSocketError(WSAECONNRESET);
    WaitFor(FD_WRITE | FD_CLOSE, deadline);
  }
}
