// What LibreOffice makes of the documents that the two dialects produced:
// read from the descriptions that WordprocDocument.cmake leaves in
// WORDPROC_WORK (pdfinfo, pdffonts, pdfimages, pdftotext, LibreOffice's
// own text export).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

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

    ExpectLandscapeA4();

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

    std::vector<std::string> names;
    for (const TUnitCase& unit : Units()) names.push_back(unit.Name);
    ExpectHeadingsCentred(names);
    EXPECT_NE(Fonts.find("LiberationSans-Bold"), std::string::npos) << Fonts;
    ExpectSourcesInTwoColumns({"Result", "implementation"}, 31, 6);
    ExpectOnePictureOn("Outils", PictureWidth, PictureHeight);
    ExpectContents(names);
    ExpectFooters(numberOnFirstPage);
  }
};

// WordBasic asks for no number on the first page; Word 97 for one.
TEST_F(Rendered, WordBasic) { Check("WordBasic", false); }
TEST_F(Rendered, Word97) { Check("Word97", true); }

}  // namespace
