#include "uChaines.h"

#include <algorithm>
#include <charconv>

std::string WordToStr(uint16_t value) { return std::to_string(value); }

std::string ByteToStr(uint8_t value) { return std::to_string(value); }

bool TryStrToInt(const std::string& text, int32_t& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;  // from_chars refuses a plus sign; "+-1" stays refused below
    if (first != last && *first == '-') return false;
  }
  int32_t parsed = 0;
  auto [ptr, ec] = std::from_chars(first, last, parsed);
  if (ec != std::errc() || ptr != last) return false;
  value = parsed;
  return true;
}

int32_t StrToIntOrZero(const std::string& text) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : 0;
}

void SplitFirst(std::string& source, char separator, std::string& head) {
  const auto at = source.find(separator);
  if (at == std::string::npos) {
    head = std::move(source);
    source.clear();
  } else {
    head = source.substr(0, at);
    source.erase(0, at + 1);
  }
}

char UpCaseAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::string UpperCaseAscii(std::string text) {
  for (char& c : text) c = UpCaseAscii(c);
  return text;
}

std::string StringOfChar(int count, char c) { return std::string(size_t(std::clamp(count, 0, 255)), c); }

std::string PadRight(const std::string& text, int width, char c) {
  const size_t w = size_t(std::clamp(width, 0, 255));
  return text.size() >= w ? text : text + std::string(w - text.size(), c);
}

bool SameTextAscii(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return UpCaseAscii(x) == UpCaseAscii(y); });
}

bool MatchesPatternAscii(const std::string& text, const std::string& pattern) {
  // Greedy with one backtrack point (the last star): linear in practice,
  // at worst text times pattern, never exponential.
  size_t t = 0, p = 0, starP = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && UpCaseAscii(pattern[p]) == UpCaseAscii(text[t])) {
      ++p;
      ++t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string Trim(const std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}
