#include "CmdOutput.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

std::string EscapeField(const std::string& text) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 32 || c > 126) {
          out += "\\x";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  return out;
}

namespace {
// Lines are gathered here and written in large blocks: a token stream is
// millions of short lines, and a write per line is slow on Windows.
std::string Pending;
constexpr std::size_t BlockSize = 1 << 20;
}  // namespace

void SetupStdout() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void FlushOutput() {
  std::fwrite(Pending.data(), 1, Pending.size(), stdout);
  Pending.clear();
  std::fflush(stdout);
}

void WriteLine(const std::string& line) {
  Pending += line;
  Pending += '\n';
  if (Pending.size() >= BlockSize) FlushOutput();
}

void WriteLine(std::initializer_list<std::string> fields) {
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) Pending += '\t';
    Pending += field;
    first = false;
  }
  Pending += '\n';
  if (Pending.size() >= BlockSize) FlushOutput();
}
