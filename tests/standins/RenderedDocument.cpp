#include "RenderedDocument.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
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

void TRenderedDocument::ExpectLandscapeA4() const {
  std::smatch m;
  ASSERT_TRUE(std::regex_search(Info, m, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)"))) << Info;
  EXPECT_NEAR(std::stod(m.str(1)), A4Long, 0.5);
  EXPECT_NEAR(std::stod(m.str(2)), A4Short, 0.5);
}

void TRenderedDocument::ExpectHeadingsCentred(const std::vector<std::string>& units) const {
  for (const std::string& unit : units) {
    SCOPED_TRACE(unit);
    const TWord word = Heading(unit).second;
    const double column = word.Centre() < LeftMargin + ColumnWidth + ColumnSpacing / 2 ? 0 : 1;
    EXPECT_NEAR(word.Centre(), LeftMargin + column * (ColumnWidth + ColumnSpacing) + ColumnWidth / 2, 3);
  }
}

void TRenderedDocument::ExpectSourcesInTwoColumns(const std::vector<std::string>& words, int atLeast,
                                                  int atLeastPerColumn) const {
  EXPECT_NE(Fonts.find("LiberationMono"), std::string::npos) << Fonts;
  int found = 0, leftColumn = 0, rightColumn = 0;
  for (size_t p = 1; p < Words.size(); ++p)
    for (const TWord& w : Words[p]) {
      if (std::find(words.begin(), words.end(), w.Text) == words.end()) continue;
      ++found;
      EXPECT_NEAR(w.Height() / BoxPerPoint, 7, 0.3) << w.Text << " on page " << p + 1;
      (w.XMin < A4Long / 2 ? leftColumn : rightColumn)++;
    }
  EXPECT_GE(found, atLeast);
  EXPECT_GE(leftColumn, atLeastPerColumn);
  EXPECT_GE(rightColumn, atLeastPerColumn);
}

void TRenderedDocument::ExpectOnePictureOn(const std::string& unit, int width, int height) const {
  const std::regex row(R"(^\s*(\d+)\s+\d+\s+image\s+(\d+)\s+(\d+))");
  int pictures = 0;
  for (const std::string& line : Images) {
    std::smatch image;
    if (!std::regex_search(line, image, row)) continue;
    if (std::stoi(image.str(2)) != width || std::stoi(image.str(3)) != height) continue;
    ++pictures;
    EXPECT_EQ(std::stoi(image.str(1)), Heading(unit).first);
  }
  EXPECT_EQ(pictures, 1) << "pdfimages:\n" << [this] {
    std::string all;
    for (const std::string& line : Images) all += line + "\n";
    return all;
  }();
}

void TRenderedDocument::ExpectContents(const std::vector<std::string>& units) const {
  // Names have no dot: the leader starts where the name ends.
  const std::regex entry(R"(^\s*([^.\s]+)\s*\.{3,}\s*(\d+)\s*$)");
  std::vector<std::string> listed;
  for (const std::string& page : Layout)
    for (const std::string& row : Lines(page)) {
      std::smatch e;
      if (!std::regex_match(row, e, entry)) continue;
      listed.push_back(e.str(1));
      EXPECT_EQ(std::stoi(e.str(2)), Heading(e.str(1)).first) << row;
    }
  EXPECT_EQ(listed, units);
}

void TRenderedDocument::ExpectFooters(bool numberOnFirstPage) const {
  const std::string today = FrenchDate(0), yesterday = FrenchDate(1);
  const std::regex footer(R"(^\s*(.+) at \d\d:\d\d\. (\d+) pages\.(\s+(\d+))?\s*$)");
  for (int p = 1; p <= PageCount; ++p) {
    SCOPED_TRACE("page " + std::to_string(p));
    const std::vector<std::string> rows = Lines(Layout[static_cast<size_t>(p - 1)]);
    std::smatch f;
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const std::string& r) { return std::regex_match(r, f, footer); });
    ASSERT_NE(found, rows.end()) << Layout[static_cast<size_t>(p - 1)];
    std::regex_match(*found, f, footer);
    EXPECT_TRUE(f.str(1) == today || f.str(1) == yesterday) << f.str(1);
    EXPECT_EQ(std::stoi(f.str(2)), PageCount);
    if (p == 1 && !numberOnFirstPage)
      EXPECT_FALSE(f[4].matched) << *found;
    else
      EXPECT_EQ(f[4].matched ? std::stoi(f.str(4)) : 0, p) << *found;
  }
}

}  // namespace rendered
