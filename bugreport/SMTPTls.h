// TLS for the SMTP client through Windows' own Schannel: the handshake, the
// check of the server's certificate by Windows' rules (its chain up to a
// trusted root, and the server's name), then records encrypted and
// decrypted. The session moves no bytes itself: the connection lends it a
// way to send and to receive, so that its waits, timeout and abort hold.
// Failures are raised as ESMTPError.
#pragma once

#include <functional>
#include <string>

#include "SecurityOwners.h"

class TTlsSession {
 public:
  // Sends every byte, or raises.
  using TSendRaw = std::function<void(const char* bytes, size_t size)>;
  // Appends at least one received byte, or raises.
  using TReceiveRaw = std::function<void(std::string& into)>;

  TTlsSession() = default;
  TTlsSession(const TTlsSession&) = delete;
  TTlsSession& operator=(const TTlsSession&) = delete;

  // Negotiates with the server named host (as the user gave it, for the
  // name check) and checks its certificate. Bytes of the server that came
  // with the last handshake message stay for Receive.
  void Handshake(const std::string& host, const TSendRaw& send, const TReceiveRaw& receive);
  bool Active() const { return _context.Valid() && _ready; }

  // Encrypts the bytes and sends them, a record at a time.
  void Send(const std::string& plain, const TSendRaw& send);
  // Appends at least one decrypted byte to plain, or raises (the server
  // ended the session: WSAECONNRESET).
  void Receive(std::string& plain, const TSendRaw& send, const TReceiveRaw& receive);

 private:
  void Negotiate(const TSendRaw& send, const TReceiveRaw& receive, bool first);
  void CheckCertificate();
  [[noreturn]] void RaiseTls(long status) const;

  TCredentialsHandle _credentials;
  TSecurityContext _context;
  std::string _host;
  std::string _encrypted;  // received, not yet decrypted
  unsigned long _header = 0, _trailer = 0, _maxMessage = 0;
  bool _ready = false;
};
