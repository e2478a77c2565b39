#include "SourceText.h"

#include <windows.h>

#include <stdexcept>

#include "Handle.h"

TLineEnd DetectLineEnd(std::string_view text) {
  size_t crlf = 0, lf = 0, cr = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++crlf;
        ++i;
      } else {
        ++cr;
      }
    } else if (text[i] == '\n') {
      ++lf;
    }
  }
  if (lf > crlf && lf >= cr) return TLineEnd::Lf;
  if (cr > crlf && cr > lf) return TLineEnd::Cr;
  return TLineEnd::CrLf;
}

std::string WithLineEnds(std::string_view text, TLineEnd style) {
  const std::string_view end = style == TLineEnd::CrLf ? "\r\n" : style == TLineEnd::Lf ? "\n" : "\r";
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      result += end;
    } else if (c == '\n') {
      result += end;
    } else {
      result += c;
    }
  }
  return result;
}

std::string ReadSourceFile(const std::string& path) {
  THandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) throw std::runtime_error("Cannot open file \"" + path + "\"");
  std::string text;
  char buffer[64 * 1024];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(f.Get(), buffer, sizeof buffer, &n, nullptr)) throw std::runtime_error("Cannot read file \"" + path + "\"");
    if (n == 0) break;
    text.append(buffer, n);
  }
  return text;
}

void WriteSourceFile(const std::string& path, const std::string& text) {
  THandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) throw std::runtime_error("Cannot create file \"" + path + "\"");
  DWORD n = 0;
  if (!WriteFile(f.Get(), text.data(), static_cast<DWORD>(text.size()), &n, nullptr) || n != text.size())
    throw std::runtime_error("Cannot write file \"" + path + "\"");
}
