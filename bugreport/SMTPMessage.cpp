#include "SMTPMessage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "uChaines.h"

namespace {

// A header line never holds a line break: each run of CR and LF becomes one
// blank.
std::string OneLine(const std::string& text) {
  std::string out;
  bool inBreak = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!inBreak) out += ' ';
      inBreak = true;
    } else {
      out += c;
      inBreak = false;
    }
  }
  return out;
}

}  // namespace

std::string TDocHeaders::Value(const std::string& name) const {
  for (const auto& [n, v] : items_)
    if (SameTextAscii(n, name)) return v;
  return {};
}

TMailData MailData(const TDocHeaders& headers, const std::string& body) {
  TMailData data;
  for (const auto& [name, value] : headers.Items()) {
    const std::string v = OneLine(value);
    data.Headers += OneLine(name) + ":" + (v.empty() ? "" : " " + v) + "\r\n";
  }
  data.Headers += "\r\n";
  bool lineStart = true;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') ++i;
      data.Body += "\r\n";
      lineStart = true;
      continue;
    }
    // A line of one dot would end the data: every leading dot is doubled,
    // and the server takes one away.
    if (lineStart && c == '.') data.Body += '.';
    data.Body += c;
    lineStart = false;
  }
  if (!lineStart) data.Body += "\r\n";
  return data;
}

std::string EnvelopeAddress(const std::string& text) {
  size_t open = text.rfind('<');
  if (open != std::string::npos) {
    size_t close = text.find('>', open);
    if (close != std::string::npos) return Trim(text.substr(open + 1, close - open - 1));
  }
  return Trim(text);
}

bool ValidEnvelopeAddress(const std::string& address) {
  if (address.empty()) return false;
  return std::none_of(address.begin(), address.end(), [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u <= ' ' || u == 0x7F || c == '<' || c == '>';
  });
}

std::vector<std::string> Recipients(const TDocHeaders& headers) {
  std::vector<std::string> result;
  for (const char* name : {MailHeader::To, MailHeader::Cc}) {
    std::string list = headers.Value(name);
    std::replace(list.begin(), list.end(), ';', ',');
    size_t start = 0;
    while (start <= list.size()) {
      size_t comma = list.find(',', start);
      if (comma == std::string::npos) comma = list.size();
      std::string address = EnvelopeAddress(list.substr(start, comma - start));
      if (!address.empty()) result.push_back(address);
      start = comma + 1;
    }
  }
  return result;
}

// ---------------------------------------------------------------- encodings

std::string Base64(const std::string& bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k) v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? digits[(v >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
}

namespace {

constexpr size_t MaxLine = 998;      // RFC 5322, without CR LF
constexpr size_t MaxQpLine = 76;     // RFC 2045, with the soft break's "="

// The lines of a text, whatever its line ends.
std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();  // the text's own last line end
  return lines;
}

bool IdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("!#$%&'*+-/=?^_`{|}~", c) != nullptr;
}

}  // namespace

std::string QuotedPrintable(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const std::string& line : LinesOf(text)) {
    size_t column = 0;
    for (size_t i = 0; i < line.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      const bool last = i + 1 == line.size();
      std::string piece;
      if (c > 126 || c == '=' || (c < 32 && c != '\t') || ((c == ' ' || c == '\t') && last)) {
        piece = {'=', hex[c >> 4], hex[c & 15]};
      } else {
        piece = std::string(1, static_cast<char>(c));
      }
      // Room for the piece, and for the "=" of a soft break unless this is
      // the line's end.
      if (column + piece.size() + (last ? 0 : 1) > MaxQpLine) {
        out += "=\r\n";
        column = 0;
      }
      out += piece;
      column += piece.size();
    }
    out += "\r\n";
  }
  return out;
}

TMailBody EncodeBody(const std::string& text, const char* charset8bit) {
  const bool eightBit =
      std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) > 127; });
  const std::vector<std::string> lines = LinesOf(text);
  const bool longLines = std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.size() > MaxLine; });
  TMailBody body;
  body.ContentType = std::string("text/plain; charset=") + (eightBit ? charset8bit : "us-ascii");
  if (eightBit || longLines) {
    body.Text = QuotedPrintable(text);
    body.TransferEncoding = "quoted-printable";
  } else {
    body.Text = text;
    body.TransferEncoding = "7bit";
  }
  return body;
}

// ---------------------------------------------------------------- header values

std::string MailDate(const TMailTime& t) {
  static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int offset = t.OffsetMinutes < 0 ? -t.OffsetMinutes : t.OffsetMinutes;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", days[((t.DayOfWeek % 7) + 7) % 7],
                t.Day, months[std::clamp(t.Month, 1, 12) - 1], t.Year, t.Hour, t.Minute, t.Second,
                t.OffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

std::string MessageId(const std::vector<std::string>& parts, const std::string& address) {
  // dot-atom-text: atoms of the allowed characters, a dot between two.
  std::string left;
  bool dot = false;
  for (const std::string& part : parts) {
    dot = !left.empty();
    for (char c : part) {
      if (c == '.') {
        dot = !left.empty();
      } else if (IdCharacter(c)) {
        if (dot) left += '.';
        left += c;
        dot = false;
      }
    }
  }
  if (left.empty()) left = "report";
  std::string domain = EnvelopeAddress(address);
  size_t at = domain.rfind('@');
  domain = at == std::string::npos ? std::string() : domain.substr(at + 1);
  bool plain = !domain.empty() && domain.front() != '.' && domain.back() != '.' &&
               domain.find("..") == std::string::npos && std::all_of(domain.begin(), domain.end(), [](char c) {
                 return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
               });
  return "<" + left + "@" + (plain ? domain : std::string("usagram.invalid")) + ">";
}
