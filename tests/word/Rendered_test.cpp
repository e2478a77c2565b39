// The Word documents of samples/Document as LibreOffice renders them, read
// from what WordDocument.cmake leaves in WORD_WORK: the drawing order from
// UsagramCmd --layout, and for each document the PDF described by poppler
// and LibreOffice's own text export.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

    ExpectLandscapeA4();

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

    ExpectHeadingsCentred(units);
    ExpectSourcesInTwoColumns({"implementation", "begin"}, 21, 4);
    ExpectOnePictureOn(UnitWithPicture, PictureWidth, PictureHeight);
    ExpectContents(units);
    ExpectFooters(numberOnFirstPage);
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
