#include "SMTPTls.h"

#include <schannel.h>
#include <winerror.h>

#include <algorithm>
#include <cstring>

#include "BugReportTexts.h"
#include "Format.h"
#include "SMTPConnection.h"
#include "SystemText.h"
#include "WideText.h"

namespace {

constexpr unsigned long RequestFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                       ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                       ISC_REQ_MANUAL_CRED_VALIDATION;

// Why Windows refused the certificate, in the user's terms.
std::string CertificateReason(unsigned long code) {
  switch (code) {
    case static_cast<unsigned long>(CERT_E_UNTRUSTEDROOT):
    case static_cast<unsigned long>(CERT_E_CHAINING):
    case static_cast<unsigned long>(TRUST_E_CERT_SIGNATURE):
      return Msg::TlsUntrusted;
    case static_cast<unsigned long>(CERT_E_CN_NO_MATCH):
      return Msg::TlsOtherName;
    case static_cast<unsigned long>(CERT_E_EXPIRED):
      return Msg::TlsExpired;
    case static_cast<unsigned long>(CERT_E_REVOKED):
      return Msg::TlsRevoked;
    case static_cast<unsigned long>(CERT_E_WRONG_USAGE):
      return Msg::TlsWrongUsage;
    default: {
      std::string text = SystemErrorText(code);
      return text.empty() ? Format(Msg::TlsCode, static_cast<unsigned>(code)) : text;
    }
  }
}

}  // namespace

[[noreturn]] void TTlsSession::RaiseTls(long status) const {
  std::string text = SystemErrorText(static_cast<unsigned long>(status));
  if (text.empty()) text = Format(Msg::TlsCode, static_cast<unsigned>(status));
  throw ESMTPError(SmtpClientError::Tls, Format(Msg::TlsFailed, _host.c_str()), {text});
}

void TTlsSession::Handshake(const std::string& host, const TSendRaw& send, const TReceiveRaw& receive) {
  _host = host;
  _ready = false;
  _encrypted.clear();
  _context.Close();
  SCHANNEL_CRED credentials{};
  credentials.dwVersion = SCHANNEL_CRED_VERSION;
  // The certificate is checked below, where the reason of a refusal can be
  // told; the protocol versions are the system's choice.
  credentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  TimeStamp expiry{};
  SECURITY_STATUS s = AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr,
                                                &credentials, nullptr, nullptr, _credentials.Receive(), &expiry);
  if (s != SEC_E_OK) RaiseTls(s);
  _credentials.Taken();
  Negotiate(send, receive, true);
  CheckCertificate();
  SecPkgContext_StreamSizes sizes{};
  s = QueryContextAttributesA(_context.Get(), SECPKG_ATTR_STREAM_SIZES, &sizes);
  if (s != SEC_E_OK) RaiseTls(s);
  _header = sizes.cbHeader;
  _trailer = sizes.cbTrailer;
  _maxMessage = std::max<unsigned long>(sizes.cbMaximumMessage, 1);
  _ready = true;
}

// The handshake's exchange of tokens, from the client's first one (first)
// or from what the server sent (_encrypted), until the context is complete.
void TTlsSession::Negotiate(const TSendRaw& send, const TReceiveRaw& receive, bool first) {
  for (;;) {
    const bool initial = first && !_context.Valid();
    SecBuffer in[2] = {{static_cast<unsigned long>(_encrypted.size()), SECBUFFER_TOKEN, _encrypted.data()},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
    unsigned long attributes = 0;
    SECURITY_STATUS s = InitializeSecurityContextA(
        _credentials.Get(), initial ? nullptr : _context.Get(), const_cast<char*>(_host.c_str()), RequestFlags, 0, 0,
        initial ? nullptr : &inDesc, 0, initial ? _context.Receive() : nullptr, &outDesc, &attributes, nullptr);
    TContextBuffer token(out[0].pvBuffer);
    if (initial && !FAILED(s)) _context.Taken();
    if (s == SEC_E_INCOMPLETE_MESSAGE) {
      receive(_encrypted);
      continue;
    }
    // A token to send, on failure too: the alert that tells the server why.
    if (token && out[0].cbBuffer > 0) send(static_cast<const char*>(token.Get()), out[0].cbBuffer);
    if (FAILED(s)) RaiseTls(s);
    if (!initial) {
      if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer > 0 && in[1].cbBuffer <= _encrypted.size())
        _encrypted.erase(0, _encrypted.size() - in[1].cbBuffer);
      else
        _encrypted.clear();
    }
    if (s == SEC_E_OK) return;
    if (s != SEC_I_CONTINUE_NEEDED && s != SEC_I_INCOMPLETE_CREDENTIALS) RaiseTls(s);
    // No client certificate is offered when the server asks for one.
    if (_encrypted.empty() && s == SEC_I_CONTINUE_NEEDED) receive(_encrypted);
  }
}

void TTlsSession::CheckCertificate() {
  auto refuse = [this](unsigned long code) {
    throw ESMTPError(SmtpClientError::Certificate,
                     Format(Msg::TlsCertificate, _host.c_str(), CertificateReason(code).c_str()));
  };
  TCertContext remote;
  SECURITY_STATUS s = QueryContextAttributesA(_context.Get(), SECPKG_ATTR_REMOTE_CERT_CONTEXT, remote.Receive());
  if (s != SEC_E_OK || !remote) refuse(static_cast<unsigned long>(SEC_E_NO_CREDENTIALS));

  LPSTR usages[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  para.RequestedUsage.Usage.cUsageIdentifier = 1;
  para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  TCertChain chain;
  if (!CertGetCertificateChain(nullptr, remote.Get(), nullptr, remote->hCertStore, &para, 0, nullptr, chain.Receive()))
    refuse(GetLastError());

  // The chain's own verdict first: Wine's SSL policy passes a chain that
  // ends short of any trusted root.
  const DWORD trust = chain->TrustStatus.dwErrorStatus;
  if (trust & CERT_TRUST_IS_REVOKED) refuse(static_cast<unsigned long>(CERT_E_REVOKED));
  if (trust & CERT_TRUST_IS_NOT_TIME_VALID) refuse(static_cast<unsigned long>(CERT_E_EXPIRED));
  if (trust & CERT_TRUST_IS_NOT_VALID_FOR_USAGE) refuse(static_cast<unsigned long>(CERT_E_WRONG_USAGE));
  if (trust & (CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN | CERT_TRUST_IS_NOT_SIGNATURE_VALID |
               CERT_TRUST_IS_CYCLIC | CERT_TRUST_INVALID_BASIC_CONSTRAINTS))
    refuse(static_cast<unsigned long>(CERT_E_UNTRUSTEDROOT));

  std::wstring name = WidenText(_host);
  HTTPSPolicyCallbackData ssl{};
  ssl.cbStruct = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = name.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.Get(), &policy, &status)) refuse(GetLastError());
  if (status.dwError != 0) refuse(status.dwError);
}

void TTlsSession::Send(const std::string& plain, const TSendRaw& send) {
  for (size_t at = 0; at < plain.size();) {
    const size_t n = std::min<size_t>(plain.size() - at, _maxMessage);
    std::string record(_header + n + _trailer, '\0');
    std::memcpy(record.data() + _header, plain.data() + at, n);
    SecBuffer b[4] = {{_header, SECBUFFER_STREAM_HEADER, record.data()},
                      {static_cast<unsigned long>(n), SECBUFFER_DATA, record.data() + _header},
                      {_trailer, SECBUFFER_STREAM_TRAILER, record.data() + _header + n},
                      {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc d{SECBUFFER_VERSION, 4, b};
    SECURITY_STATUS s = EncryptMessage(_context.Get(), 0, &d, 0);
    if (s != SEC_E_OK) RaiseTls(s);
    send(record.data(), b[0].cbBuffer + b[1].cbBuffer + b[2].cbBuffer);
    at += n;
  }
}

void TTlsSession::Receive(std::string& plain, const TSendRaw& send, const TReceiveRaw& receive) {
  for (;;) {
    if (!_encrypted.empty()) {
      SecBuffer b[4] = {{static_cast<unsigned long>(_encrypted.size()), SECBUFFER_DATA, _encrypted.data()},
                        {0, SECBUFFER_EMPTY, nullptr},
                        {0, SECBUFFER_EMPTY, nullptr},
                        {0, SECBUFFER_EMPTY, nullptr}};
      SecBufferDesc d{SECBUFFER_VERSION, 4, b};
      SECURITY_STATUS s = DecryptMessage(_context.Get(), &d, 0, nullptr);
      if (s == SEC_E_OK || s == SEC_I_RENEGOTIATE || s == SEC_I_CONTEXT_EXPIRED) {
        const size_t before = plain.size();
        std::string extra;
        for (const SecBuffer& x : b) {
          if (x.BufferType == SECBUFFER_DATA && x.cbBuffer > 0) plain.append(static_cast<const char*>(x.pvBuffer), x.cbBuffer);
          if (x.BufferType == SECBUFFER_EXTRA && x.cbBuffer > 0) extra.assign(static_cast<const char*>(x.pvBuffer), x.cbBuffer);
        }
        _encrypted = std::move(extra);
        // The server's close_notify: the session is over.
        if (s == SEC_I_CONTEXT_EXPIRED) throw ESMTPError(WSAECONNRESET, Msg::SmtpConnectionClosed);
        // TLS 1.3 sends messages after the handshake (session tickets):
        // they go back to the handshake's function.
        if (s == SEC_I_RENEGOTIATE) Negotiate(send, receive, false);
        if (plain.size() > before) return;
        continue;
      }
      if (s != SEC_E_INCOMPLETE_MESSAGE) RaiseTls(s);
    }
    receive(_encrypted);
  }
}
