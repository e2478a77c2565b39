// The document the SMTP client sends: its header collection, the bytes of
// the DATA command, and the envelope taken from the headers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace MailHeader {
inline constexpr const char* To = "To";
inline constexpr const char* From = "From";
inline constexpr const char* Cc = "CC";
inline constexpr const char* Subject = "Subject";
inline constexpr const char* MessageId = "Message-Id";
inline constexpr const char* ContentType = "Content-Type";
inline constexpr const char* Date = "Date";
inline constexpr const char* MimeVersion = "MIME-Version";
inline constexpr const char* TransferEncoding = "Content-Transfer-Encoding";
}  // namespace MailHeader

// Name and value pairs, in the order added.
class TDocHeaders {
 public:
  void Clear() { items_.clear(); }
  void Add(const std::string& name, const std::string& value) { items_.emplace_back(name, value); }
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }
  // The value of the first header of that name (letter case aside); empty
  // when there is none.
  std::string Value(const std::string& name) const;

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

// What follows the DATA command, without the final "." line: the header
// lines ("Name: value", line breaks inside a value made blanks, so that a
// value cannot add a header), a blank line, then the body with every line
// end made CR LF, a dot doubled at the start of each line, and a last line
// end when the body lacks one.
struct TMailData {
  std::string Headers;  // up to and with the blank line
  std::string Body;
  size_t Size() const { return Headers.size() + Body.size(); }
};
TMailData MailData(const TDocHeaders& headers, const std::string& body);

// The address of a header value: "Name <a@b>" gives a@b, "a@b" itself.
std::string EnvelopeAddress(const std::string& text);
// Not empty, and nothing that could end or extend an SMTP command line:
// no blanks, control characters or angle brackets.
bool ValidEnvelopeAddress(const std::string& address);
// The addresses of the To and CC headers (lists separated by commas or
// semicolons), empty entries left out.
std::vector<std::string> Recipients(const TDocHeaders& headers);

// ---- Encodings (RFC 2045, RFC 4648)

std::string Base64(const std::string& bytes);

// The text of a report as a MIME body: as it stands when it is 7-bit with
// lines a server takes (998 bytes at most), quoted-printable otherwise.
struct TMailBody {
  std::string Text;
  std::string ContentType;       // "text/plain; charset=..."
  std::string TransferEncoding;  // "7bit" or "quoted-printable"
};
TMailBody EncodeBody(const std::string& text, const char* charset8bit);
// Quoted-printable: bytes above 126, "=" and a blank at a line's end as
// =XX, lines of at most 76 characters (soft breaks "=" CR LF), line ends
// CR LF.
std::string QuotedPrintable(const std::string& text);

// ---- Header values (RFC 5322)

struct TMailTime {
  int Year, Month, Day, DayOfWeek;  // DayOfWeek 0 = Sunday
  int Hour, Minute, Second;
  int OffsetMinutes;  // local time minus UTC
};
// "Tue, 08 Dec 2026 01:50:00 +0100".
std::string MailDate(const TMailTime& t);
// "<left@domain>": left from the parts given, kept to the characters an
// identifier may hold; domain the address's own when it is a plain domain
// name, otherwise one that cannot be anybody's.
std::string MessageId(const std::vector<std::string>& parts, const std::string& address);
