// The Word documents of samples/Document as LibreOffice renders them, read
// from what WordDocument.cmake leaves in WORD_WORK: the drawing order from
// UsagramCmd --layout, and for each document the PDF described by poppler
// and LibreOffice's own text export.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "HostPath.h"
#include "RenderedDocument.h"
#include "WordprocTestSupport.h"

namespace {

using namespace rendered;

// The sample's unit with a picture, and the picture's size in pixels.
constexpr const char* UnitWithPicture = "Clients";
constexpr int PictureWidth = 64, PictureHeight = 40;

std::string Work() {
  const char* dir = std::getenv("WORD_WORK");
  return dir && *dir ? HostPath(dir) : std::string();
}

// UsagramCmd's escapes in a text field: \xHH and \\.
std::string Unescaped(const std::string& field) {
  std::string text;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] == 'x') {
      text += static_cast<char>(std::stoi(field.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else if (field[i] == '\\' && i + 1 < field.size()) {
      text += field[++i];
    } else {
      text += field[i];
    }
  }
  return text;
}

// The documented units in drawing order: the labels of --layout, all of
// them found units in this sample (no unit is missing, none is basic).
std::vector<std::string> DrawingOrder() {
  std::vector<std::string> names;
  for (const std::string& line : Lines(ReadFileBytes(Work() + "\\layout.txt"))) {
    const std::vector<std::string> fields = Split(line, '\t');
    if (fields[0] == "layout") {
      EXPECT_EQ(fields.at(4), "0") << "the sample has units that are not found";
    }
    if (fields[0] == "label") names.push_back(Unescaped(fields.at(2)));
  }
  return names;
}

// The first line of a unit's source, as the sample holds it.
std::string FirstSourceLine(const std::string& unit) {
  for (const char* extension : {".pas", ".dpr"}) {
    const std::vector<std::string> lines = Lines(ReadFileBytes(Work() + "\\project\\" + unit + extension));
    if (!lines.empty() && !lines.front().empty()) return lines.front();
  }
  return {};
}

class Rendered : public testing::Test, protected TRenderedDocument {
 protected:
  void SetUp() override { ASSERT_FALSE(Work().empty()) << "run by WordDocument.cmake, which sets WORD_WORK"; }

  void Load(const std::string& name) { ASSERT_TRUE(TRenderedDocument::Load(Work() + "\\" + name, name)); }

  void Check(const std::string& name, bool numberOnFirstPage) {
    Load(name);
    if (HasFatalFailure()) return;
    const std::vector<std::string> units = DrawingOrder();
    ASSERT_EQ(units.size(), 5u);

    // Landscape A4.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(Info, m, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)")));
    EXPECT_NEAR(std::stod(m.str(1)), A4Long, 0.5);
    EXPECT_NEAR(std::stod(m.str(2)), A4Short, 0.5);

    // Page 1 is the diagram, whole: every label's name, and nothing of the
    // sections.
    for (const std::string& unit : units)
      EXPECT_TRUE(std::any_of(Words[0].begin(), Words[0].end(), [&](const TWord& w) { return w.Text == unit; }))
          << unit << " is not in the diagram on page 1";
    EXPECT_EQ(Layout[0].find("[Usagram"), std::string::npos);

    // One section per unit in drawing order: heading, bracket line, source.
    size_t line = 0;
    for (const std::string& unit : units) {
      SCOPED_TRACE(unit);
      while (line < Text.size() && Trimmed(Text[line]) != unit) ++line;
      ASSERT_LT(line + 1, Text.size()) << "heading missing or out of order";
      EXPECT_EQ(Trimmed(Text[line + 1]).rfind("[Usagram", 0), 0u);
      size_t source = line + 2;
      while (source < Text.size() && Trimmed(Text[source]).empty()) ++source;
      ASSERT_LT(source, Text.size());
      EXPECT_EQ(Text[source], FirstSourceLine(unit));
      line = source;
    }

    // Headings large and centred in their column; sources in Courier
    // New's stand-in at 7 points, in both columns.
    EXPECT_NE(Fonts.find("LiberationMono"), std::string::npos) << Fonts;
    for (const std::string& unit : units) {
      SCOPED_TRACE(unit);
      const TWord word = Heading(unit).second;
      const double column = word.Centre() < LeftMargin + ColumnWidth + ColumnSpacing / 2 ? 0 : 1;
      EXPECT_NEAR(word.Centre(), LeftMargin + column * (ColumnWidth + ColumnSpacing) + ColumnWidth / 2, 3);
    }
    int sourceWords = 0, leftColumn = 0, rightColumn = 0;
    for (size_t p = 1; p < Words.size(); ++p)
      for (const TWord& w : Words[p]) {
        if (w.Text != "implementation" && w.Text != "begin") continue;
        ++sourceWords;
        EXPECT_NEAR(w.Height() / BoxPerPoint, 7, 0.3) << w.Text << " on page " << p + 1;
        (w.XMin < A4Long / 2 ? leftColumn : rightColumn)++;
      }
    EXPECT_GT(sourceWords, 20);
    EXPECT_GT(leftColumn, 3);
    EXPECT_GT(rightColumn, 3);

    // The one unit picture, on its unit's page.
    int pictures = 0;
    for (const std::string& row : Images) {
      std::smatch image;
      if (!std::regex_search(row, image, std::regex(R"(^\s*(\d+)\s+\d+\s+image\s+(\d+)\s+(\d+))"))) continue;
      if (std::stoi(image.str(2)) != PictureWidth || std::stoi(image.str(3)) != PictureHeight) continue;
      ++pictures;
      EXPECT_EQ(std::stoi(image.str(1)), Heading(UnitWithPicture).first);
    }
    EXPECT_EQ(pictures, 1);

    // The table of contents: every unit in order, with its heading's page.
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

    // Every page's footer: the date, the time, the page count, the number.
    const std::regex footer(R"(^\s*(.+) at \d\d:\d\d\. (\d+) pages\.(\s+(\d+))?\s*$)");
    for (int p = 1; p <= PageCount; ++p) {
      SCOPED_TRACE("page " + std::to_string(p));
      const std::vector<std::string> rows = Lines(Layout[static_cast<size_t>(p - 1)]);
      std::smatch f;
      const auto found =
          std::find_if(rows.begin(), rows.end(), [&](const std::string& r) { return std::regex_match(r, f, footer); });
      ASSERT_NE(found, rows.end()) << Layout[static_cast<size_t>(p - 1)];
      std::regex_match(*found, f, footer);
      EXPECT_TRUE(f.str(1) == FrenchDate(0) || f.str(1) == FrenchDate(1)) << f.str(1);
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
TEST_F(Rendered, Window) { Check("Window", false); }

// The three documents hold the same text, line for line.
TEST_F(Rendered, TheSameTextWhateverTheWayAndTheDialect) {
  auto text = [](const std::string& name) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(ReadFileBytes(Work() + "\\" + name + "\\" + name + ".txt")))
      if (!Trimmed(line).empty()) lines.push_back(Trimmed(line));
    return lines;
  };
  const std::vector<std::string> basic = text("WordBasic");
  EXPECT_GT(basic.size(), 100u);
  EXPECT_EQ(text("Word97"), basic);
  EXPECT_EQ(text("Window"), basic);
}

}  // namespace
