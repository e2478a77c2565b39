#include "RenderedDocument.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "WordprocTestSupport.h"

namespace rendered {

std::string FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return A(wide);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
    parts.push_back(text.substr(from, at - from));
  parts.push_back(text.substr(from));
  return parts;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines = Split(text, '\n');
  for (std::string& line : lines)
    if (!line.empty() && line.back() == '\r') line.pop_back();
  return lines;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\f");
  return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\f") - first + 1);
}

namespace {
std::string HtmlUnescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities)
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::strlen(entity), plain);
  return text;
}
}  // namespace

std::vector<TPage> WordsByPage(const std::string& html) {
  std::vector<TPage> pages;
  const std::regex tag(
      R"re(<page [^>]*>|<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  for (std::sregex_iterator it(html.begin(), html.end(), tag), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m.str(0).rfind("<page", 0) == 0)
      pages.emplace_back();
    else if (!pages.empty())
      pages.back().push_back({std::stod(m.str(1)), std::stod(m.str(2)), std::stod(m.str(3)), std::stod(m.str(4)),
                              FromUtf8(HtmlUnescaped(m.str(5)))});
  }
  return pages;
}

std::string FrenchDate(int daysAgo) {
  static const char* const days[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
  static const char* const months[] = {"janvier", "f\xE9vrier", "mars",      "avril",   "mai",      "juin",
                                       "juillet", "ao\xFBt",    "septembre", "octobre", "novembre", "d\xE9" "cembre"};
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
  ticks.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 24 * 3600 * 10000000ULL;
  FILETIME then{ticks.LowPart, ticks.HighPart}, local;
  FileTimeToLocalFileTime(&then, &local);
  SYSTEMTIME t;
  FileTimeToSystemTime(&local, &t);
  return std::string(days[t.wDayOfWeek]) + " " + months[t.wMonth - 1] + " " + std::to_string(t.wDay) + " " +
         std::to_string(t.wYear);
}

bool TRenderedDocument::Load(const std::string& directory, const std::string& textName) {
  Info = ReadFileBytes(directory + "\\pdfinfo.txt");
  Fonts = ReadFileBytes(directory + "\\pdffonts.txt");
  Images = Lines(ReadFileBytes(directory + "\\pdfimages.txt"));
  Layout = Split(FromUtf8(ReadFileBytes(directory + "\\layout.txt")), '\f');
  Words = WordsByPage(ReadFileBytes(directory + "\\bbox.html"));
  Text = Lines(FromUtf8(ReadFileBytes(directory + "\\" + textName + ".txt")));
  std::smatch m;
  if (!std::regex_search(Info, m, std::regex(R"(Pages:\s+(\d+))"))) {
    ADD_FAILURE() << "no page count in " << directory << "\\pdfinfo.txt";
    return false;
  }
  PageCount = std::stoi(m.str(1));
  if (Words.size() != static_cast<size_t>(PageCount)) {
    ADD_FAILURE() << Words.size() << " pages of words for " << PageCount << " pages";
    return false;
  }
  return true;
}

std::pair<int, TWord> TRenderedDocument::Heading(const std::string& name) const {
  for (size_t p = 1; p < Words.size(); ++p)
    for (const TWord& w : Words[p])
      if (w.Text == name && w.Height() / BoxPerPoint > 13) return {static_cast<int>(p) + 1, w};
  ADD_FAILURE() << "no heading " << name;
  return {0, TWord{}};
}

}  // namespace rendered
