// What LibreOffice makes of the documents that the two dialects produced:
// read from the descriptions that WordprocDocument.cmake leaves in
// WORDPROC_WORK (pdfinfo, pdffonts, pdfimages, pdftotext, LibreOffice's
// own text export).
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <map>
#include <regex>

#include "DocumentCase.h"
#include "WordprocTestSupport.h"

namespace {

constexpr double A4Long = 841.89, A4Short = 595.28;
// The landscape page's text area, as the driver sets it up (points).
// pdftotext's word boxes are 1.3 times the font's size high.
constexpr double BoxPerPoint = 1.3;
constexpr double LeftMargin = 1.5 * 72 / 2.54, ColumnWidth = (27.8 - 1.25) / 2 * 72 / 2.54,
                 ColumnSpacing = 1.25 * 72 / 2.54;

std::string FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return A(wide);
}

struct TWord {
  double XMin, YMin, XMax, YMax;
  std::string Text;
  double Height() const { return YMax - YMin; }
  double Centre() const { return (XMin + XMax) / 2; }
};
using TPage = std::vector<TWord>;

std::string Unescaped(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities)
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::strlen(entity), plain);
  return text;
}

// The words of each page, from pdftotext -bbox.
std::vector<TPage> WordsByPage(const std::string& html) {
  std::vector<TPage> pages;
  const std::regex tag(
      R"re(<page [^>]*>|<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  for (std::sregex_iterator it(html.begin(), html.end(), tag), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (m.str(0).rfind("<page", 0) == 0) {
      pages.emplace_back();
    } else if (!pages.empty()) {
      pages.back().push_back(TWord{std::stod(m.str(1)), std::stod(m.str(2)), std::stod(m.str(3)), std::stod(m.str(4)),
                                   FromUtf8(Unescaped(m.str(5)))});
    }
  }
  return pages;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1) parts.push_back(text.substr(from, at - from));
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

// The French date that Word writes for "jjjj MMMM j aaaa".
std::string FrenchDate(const SYSTEMTIME& t) {
  static const char* const days[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
  static const char* const months[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                       "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
  return std::string(days[t.wDayOfWeek]) + " " + months[t.wMonth - 1] + " " + std::to_string(t.wDay) + " " +
         std::to_string(t.wYear);
}

SYSTEMTIME DaysAgo(int days) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
  ticks.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
  FILETIME then{ticks.LowPart, ticks.HighPart}, local;
  FileTimeToLocalFileTime(&then, &local);
  SYSTEMTIME t;
  FileTimeToSystemTime(&local, &t);
  return t;
}

class Rendered : public ::testing::Test {
 protected:
  void Load(const std::string& dialect) {
    const std::string dir = SharedWorkDir();
    ASSERT_FALSE(dir.empty()) << "run by WordprocDocument.cmake, which sets WORDPROC_WORK";
    Info = ReadFileBytes(dir + "\\pdfinfo.txt");
    Fonts = ReadFileBytes(dir + "\\pdffonts.txt");
    Images = Lines(ReadFileBytes(dir + "\\pdfimages.txt"));
    Layout = Split(FromUtf8(ReadFileBytes(dir + "\\layout.txt")), '\f');
    Words = WordsByPage(ReadFileBytes(dir + "\\bbox.html"));
    Text = Lines(FromUtf8(ReadFileBytes(dir + "\\" + dialect + ".txt")));
    ASSERT_FALSE(Words.empty());
    std::smatch m;
    ASSERT_TRUE(std::regex_search(Info, m, std::regex(R"(Pages:\s+(\d+))")));
    PageCount = std::stoi(m.str(1));
    ASSERT_EQ(Words.size(), static_cast<size_t>(PageCount));
  }

  // The page (from 1) and box of a unit's heading: its name on a line of
  // its own, the largest text of the units' pages.
  std::pair<int, TWord> Heading(const std::string& name) const {
    for (size_t p = 1; p < Words.size(); ++p)
      for (const TWord& w : Words[p])
        if (w.Text == name && w.Height() / BoxPerPoint > 13) return {static_cast<int>(p) + 1, w};
    ADD_FAILURE() << "no heading " << name;
    return {0, TWord{}};
  }

  void Check(const std::string& dialect, bool numberOnFirstPage) {
    Load(dialect);
    if (HasFatalFailure()) return;

    // Landscape A4.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(Info, m, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)")));
    EXPECT_NEAR(std::stod(m.str(1)), A4Long, 0.5);
    EXPECT_NEAR(std::stod(m.str(2)), A4Short, 0.5);

    // Page 1 is the diagram's: its text is there, no unit's.
    EXPECT_NE(Layout[0].find(DiagramText), std::string::npos);
    EXPECT_EQ(Layout[0].find(BracketLine), std::string::npos);

    // One section per unit, in the order the units came: the heading, the
    // bracket line, then the source.
    size_t line = 0;
    for (const TUnitCase& unit : Units()) {
      SCOPED_TRACE(unit.Name);
      while (line < Text.size() && Trimmed(Text[line]) != unit.Name) ++line;
      ASSERT_LT(line, Text.size()) << "heading missing or out of order";
      EXPECT_EQ(Trimmed(Text.at(line + 1)), BracketLine);
      size_t source = line + 2;
      while (source < Text.size() && Trimmed(Text[source]).empty()) ++source;
      ASSERT_LT(source, Text.size());
      EXPECT_EQ(Text[source], unit.Source.front());
      line = source;
    }

    // Headings large and centred in their column; the source small, in
    // Courier's stand-in.
    EXPECT_NE(Fonts.find("LiberationMono"), std::string::npos) << Fonts;
    EXPECT_NE(Fonts.find("LiberationSans-Bold"), std::string::npos) << Fonts;
    std::map<int, int> headingPages;
    for (const TUnitCase& unit : Units()) {
      SCOPED_TRACE(unit.Name);
      const auto [page, word] = Heading(unit.Name);
      headingPages[page]++;
      const double column = word.Centre() < LeftMargin + ColumnWidth + ColumnSpacing / 2 ? 0 : 1;
      EXPECT_NEAR(word.Centre(), LeftMargin + column * (ColumnWidth + ColumnSpacing) + ColumnWidth / 2, 3);
    }
    int sourceWords = 0, leftColumn = 0, rightColumn = 0;
    for (size_t p = 1; p < Words.size(); ++p)
      for (const TWord& w : Words[p]) {
        if (w.Text != "Result" && w.Text != "implementation") continue;
        ++sourceWords;
        EXPECT_NEAR(w.Height() / BoxPerPoint, 7, 0.3) << w.Text << " on page " << p + 1;
        (w.XMin < A4Long / 2 ? leftColumn : rightColumn)++;
      }
    EXPECT_GT(sourceWords, 30);
    // Two columns: the sources fill both.
    EXPECT_GT(leftColumn, 5);
    EXPECT_GT(rightColumn, 5);

    // The unit's picture (and only that one), on its unit's page.
    int pictures = 0;
    for (const std::string& row : Images) {
      std::smatch image;
      if (!std::regex_search(row, image, std::regex(R"(^\s*(\d+)\s+\d+\s+image\s+(\d+)\s+(\d+))"))) continue;
      if (std::stoi(image.str(2)) != PictureWidth || std::stoi(image.str(3)) != PictureHeight) continue;
      ++pictures;
      EXPECT_EQ(std::stoi(image.str(1)), Heading("Outils").first);
    }
    EXPECT_EQ(pictures, 1) << "pdfimages:\n" << ReadFileBytes(SharedWorkDir() + "\\pdfimages.txt");

    // The table of contents lists every unit, with the page of its heading.
    const std::regex entry(R"(^\s*([^.\s]+)\s*\.{3,}\s*(\d+)\s*$)");
    std::vector<std::string> listed;
    for (const std::string& page : Layout)
      for (const std::string& row : Lines(page)) {
        std::smatch e;
        if (!std::regex_match(row, e, entry)) continue;
        listed.push_back(e.str(1));
        EXPECT_EQ(std::stoi(e.str(2)), Heading(e.str(1)).first) << row;
      }
    std::vector<std::string> names;
    for (const TUnitCase& unit : Units()) names.push_back(unit.Name);
    EXPECT_EQ(listed, names);

    // The footer of every page: the date, the time, the page count, and
    // the page number on the right.
    const std::string today = FrenchDate(DaysAgo(0)), yesterday = FrenchDate(DaysAgo(1));
    const std::regex footer(R"(^\s*(.+) at \d\d:\d\d\. (\d+) pages\.(\s+(\d+))?\s*$)");
    for (int p = 1; p <= PageCount; ++p) {
      SCOPED_TRACE("page " + std::to_string(p));
      const std::vector<std::string> rows = Lines(Layout[static_cast<size_t>(p - 1)]);
      std::smatch f;
      const auto found = std::find_if(rows.begin(), rows.end(), [&](const std::string& r) { return std::regex_match(r, f, footer); });
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

  std::string Info, Fonts;
  std::vector<std::string> Images, Layout, Text;
  std::vector<TPage> Words;
  int PageCount = 0;
};

// WordBasic asks for no number on the first page; Word 97 for one.
TEST_F(Rendered, WordBasic) { Check("WordBasic", false); }
TEST_F(Rendered, Word97) { Check("Word97", true); }

}  // namespace
