// The login of the SMTP client (RFC 4954): AUTH PLAIN (RFC 4616) or AUTH
// LOGIN, only on an encrypted session.
#include <algorithm>

#include "BugReportTexts.h"
#include "Format.h"
#include "SMTPConnection.h"
#include "SMTPMessage.h"
#include "WideText.h"
#include "uChaines.h"

namespace {

// SASL speaks UTF-8; our texts are code page 1252.
std::string Utf8(const std::string& text) {
  const std::wstring wide = WidenText(text);
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

void TSMTPConnection::Login(const std::string& user, const std::string& password) {
  // The password never goes out in the clear.
  if (!Encrypted()) throw ESMTPError(SmtpClientError::NoEncryption, Format(Msg::SmtpNoTls, host_.c_str()));
  std::vector<std::string> mechanisms;
  Offers("AUTH", &mechanisms);
  auto offered = [&](const char* name) {
    return std::any_of(mechanisms.begin(), mechanisms.end(), [&](const std::string& m) { return SameTextAscii(m, name); });
  };
  TSMTPReply reply;
  if (offered("PLAIN")) {
    reply = Command("AUTH PLAIN " + Base64(std::string(1, '\0') + Utf8(user) + std::string(1, '\0') + Utf8(password)));
  } else if (offered("LOGIN")) {
    reply = Command("AUTH LOGIN");
    if (reply.Code == SmtpReply::AuthContinue) reply = Command(Base64(Utf8(user)));
    if (reply.Code == SmtpReply::AuthContinue) reply = Command(Base64(Utf8(password)));
  } else {
    throw ESMTPError(SmtpClientError::NoLoginMethod, Format(Msg::SmtpNoLoginMethod, host_.c_str()));
  }
  if (reply.Code != SmtpReply::AuthSucceeded) throw ESMTPError(reply.Code, Msg::SmtpLoginRefused, reply.Lines);
}
