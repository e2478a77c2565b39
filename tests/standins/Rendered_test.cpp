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
#include "RenderedDocument.h"
#include "WordprocTestSupport.h"

namespace {

using namespace rendered;

class Rendered : public ::testing::Test, protected TRenderedDocument {
 protected:
  void Load(const std::string& dialect) {
    const std::string dir = SharedWorkDir();
    ASSERT_FALSE(dir.empty()) << "run by WordprocDocument.cmake, which sets WORDPROC_WORK";
    ASSERT_TRUE(TRenderedDocument::Load(dir, dialect));
    ASSERT_FALSE(Words.empty());
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
    const std::string today = FrenchDate(0), yesterday = FrenchDate(1);
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

};

// WordBasic asks for no number on the first page; Word 97 for one.
TEST_F(Rendered, WordBasic) { Check("WordBasic", false); }
TEST_F(Rendered, Word97) { Check("Word97", true); }

}  // namespace
