#include "SMTPMessage.h"

#include <algorithm>

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
