// The Word driver against the word processor stand-in, in both dialects:
// the sample project analysed, the diagram composed while the driver takes
// its units, the document saved; what reached the word processor is read
// back from its call log and from the saved document.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Analysis.h"
#include "Compose.h"
#include "Globales.h"
#include "Output.h"
#include "Settings.h"
#include "Units.h"
#include "WordNames.h"
#include "WordTestSupport.h"
#include "uMSWord.h"

namespace {

struct TDialect {
  bool Word95;
  const char* Name;
  // The call that inserts a unit's source, and the one that saves.
  const char* InsertSource;
  const char* Save;
};
void PrintTo(const TDialect& dialect, std::ostream* out) { *out << dialect.Name; }

const TDialect WordBasic{true, "WordBasic", "InsertionFichier", "FichierEnregistrerSous"};
const TDialect ObjectModel{false, "ObjectModel", "InsertFile", "SaveAs"};

// 1440 twips to the inch: the text area of the landscape page.
constexpr int TextWidthTwips = static_cast<int>(27.8 / 2.54 * 1440), TextHeightTwips = static_cast<int>(19.58 / 2.54 * 1440);

class Driver : public TWordprocTest {
 protected:
  void SetUp() override {
    TWordprocTest::SetUp();
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    StartDirectory = cwd;
    DeleteProductKey();
    UsagramInitialise();
    ImagesDirectory = Sample.Pictures();
    ASSERT_EQ(AnalyseProjectFile(Sample.Project()), TProjectOutcome::Analysed);
    Host.Metafile = &Metafile;
    Host.DocumentName = Sample.Document();
    Host.DiagramName = Sample.Diagram();
  }
  void TearDown() override {
    Word.reset();
    DocumentGenerator = nullptr;
    UsagramFinalise();
    DeleteProductKey();
    SetCurrentDirectoryA(StartDirectory.c_str());
    TWordprocTest::TearDown();
  }

  // Ctrl+G's run, through this test's driver.
  void Generate(const TDialect& dialect) {
    MSWord95 = dialect.Word95;
    if (!Word) Word = std::make_unique<TMSWord>(Host);
    DocumentGenerator = Word.get();
    TNoDiagramHost host;
    GenerateDocument(host, Metafile);
    EXPECT_FALSE(GeneratingDocument);
  }

  // The names of the units' titles, in the order sent: WordBasic inserts
  // the name and a paragraph mark, the object model puts the name after
  // the title's range.
  static std::vector<std::string> TitlesSent(const std::vector<TCall>& calls, const TDialect& dialect) {
    std::vector<std::string> titles;
    for (const TCall& call : calls) {
      if (call.size() < 4 || call[1] != (dialect.Word95 ? "Insertion" : "InsertAfter")) continue;
      const std::string& arg = call[3];
      const size_t open = arg.find('"');
      if (open == std::string::npos || arg.back() != '"') continue;
      std::string text = arg.substr(open + 1, arg.size() - open - 2);
      if (dialect.Word95) {
        // Only a name ends with the mark; the other insertions hold marks,
        // brackets or blanks.
        if (text.size() < 3 || text.compare(text.size() - 2, 2, "\\r") != 0) continue;
        text.resize(text.size() - 2);
        if (text.empty() || text.find_first_of("\\[ ") != std::string::npos) continue;
      }
      titles.push_back(text);
    }
    return titles;
  }

  std::string StartDirectory;
  TSampleProject Sample;
  TMetafile Metafile;
  TRecordingHost Host;
  std::unique_ptr<TMSWord> Word;
};

class EachDialect : public Driver, public testing::WithParamInterface<TDialect> {};

// The whole document: units in drawing order with their titles and
// sources, the accented name intact, pictures only where the file exists,
// with their proportions, the diagram within page 1, the contents, the save.
TEST_P(EachDialect, WritesTheDocumentInDrawingOrder) {
  const TDialect& dialect = GetParam();
  TCallLog log(Sample.Dir());
  Generate(dialect);
  EXPECT_TRUE(Host.Problems.empty()) << Host.Problems.front();
  EXPECT_TRUE(Word->Started);

  const std::vector<std::string> order = FoundUnitsInDrawingOrder();
  ASSERT_EQ(order.size(), 5u);
  EXPECT_NE(std::find(order.begin(), order.end(), AccentedUnit), order.end());
  const std::vector<TCall> calls = log.Calls();
  EXPECT_EQ(TitlesSent(calls, dialect), order);

  // Each source once, by its full name, in the same order.
  std::vector<std::string> sources;
  for (const TCall& call : log.Of(dialect.InsertSource)) sources.push_back(call.at(3));
  ASSERT_EQ(sources.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_NE(sources[i].find(":\\\\"), std::string::npos) << sources[i];
    EXPECT_NE(sources[i].find("\\\\" + order[i] + "."), std::string::npos) << sources[i];
  }

  // One picture: the unit's that has a file, inserted between its title and its source.
  const char* pictureCall = dialect.Word95 ? "InsertionImage" : "AddPicture";
  size_t title = 0, pictures = 0;
  for (const TCall& call : calls) {
    if (call.size() > 3 && call[1] == dialect.InsertSource) ++title;
    if (call.size() > 3 && call[1] == pictureCall &&
        std::any_of(call.begin(), call.end(), [](const std::string& f) { return f.find(".BMP\"") != std::string::npos; })) {
      ++pictures;
      EXPECT_EQ(order.at(title), UnitWithPicture);
    }
  }
  EXPECT_EQ(pictures, 1u);

  // The saved document: RTF under the name given, the accented name as
  // RTF writes code page 1252, the contents listing every unit.
  const std::string rtf = ReadFileBytes(Sample.Document());
  ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("R\\'e9glages"), std::string::npos);
  const std::vector<std::string> text = RtfParagraphs(rtf);
  EXPECT_EQ(std::count(text.begin(), text.end(), BracketLine()), 5);
  for (const std::string& unit : order)
    EXPECT_NE(std::find_if(text.begin(), text.end(), [&](const std::string& p) { return p.rfind(unit + "\t", 0) == 0; }),
              text.end())
        << unit << " is not in the contents";

  // The unit's picture keeps its proportions; the diagram fits the page.
  const std::vector<TRtfPicture> shown = RtfPictures(rtf);
  ASSERT_EQ(shown.size(), 2u);
  for (const TRtfPicture& picture : shown) {
    SCOPED_TRACE(picture.Kind);
    if (picture.Kind == "dib") {
      EXPECT_NEAR(static_cast<double>(picture.Height) / picture.Width, double(PictureHeight) / PictureWidth, 0.01);
    } else {
      EXPECT_EQ(picture.Kind, "emf");
      EXPECT_LE(picture.Width, TextWidthTwips + 1);
      EXPECT_LE(picture.Height, TextHeightTwips + 1);
      EXPECT_NEAR(static_cast<double>(picture.Height) / picture.Width, double(Metafile.Height) / Metafile.Width, 0.01);
    }
  }
}

// A failure in one unit: reported once with the unit's name and the word
// processor's message; the remaining units and the end send nothing; the
// next run reaches Word again and writes the whole document.
TEST_P(EachDialect, AFailingUnitIsReportedOnceAndTheNextRunStartsAgain) {
  const TDialect& dialect = GetParam();
  TCallLog log(Sample.Dir());
  SetSwitch("FailOn", dialect.InsertSource);
  Generate(dialect);
  const std::string first = FoundUnitsInDrawingOrder().front();
  ASSERT_EQ(Host.Problems.size(), 1u);
  EXPECT_EQ(Host.Problems[0], "A problem has occurred while generating document while inserting " + first +
                                  " :\r\n     " + dialect.InsertSource +
                                  " failed: the FailOn switch of wordproc asks for it.");
  EXPECT_FALSE(Word->Started);
  std::vector<TCall> calls = log.Calls();
  const auto failed = std::find_if(calls.begin(), calls.end(), [](const TCall& c) { return HasField(c, "!! "); });
  ASSERT_NE(failed, calls.end());
  // After it, only Word 95 is brought to the front.
  const size_t after = static_cast<size_t>(calls.end() - failed - 1);
  EXPECT_EQ(after, dialect.Word95 ? 1u : 0u);
  if (dialect.Word95 && after == 1) {
    EXPECT_EQ(calls.back().at(1), WB::FenAppAfficher);
  }
  EXPECT_FALSE(FileExists(Sample.Document()));

  SetSwitch("FailOn", "");
  log.Clear();
  Generate(dialect);
  EXPECT_EQ(Host.Problems.size(), 1u);
  EXPECT_TRUE(Word->Started);
  calls = log.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().at(1), dialect.Word95 ? WB::FenAppAfficher : OM::Visible);
  EXPECT_EQ(log.Of(dialect.InsertSource).size(), 5u);
  EXPECT_TRUE(FileExists(Sample.Document()));
}

// The user cancels the document's name: nothing saved, Word shown.
TEST_P(EachDialect, ACancelledDocumentNameLeavesTheDocumentUnsavedAndShown) {
  const TDialect& dialect = GetParam();
  TCallLog log(Sample.Dir());
  Host.DocumentName.clear();
  Generate(dialect);
  EXPECT_TRUE(Host.Problems.empty());
  EXPECT_TRUE(log.Of(dialect.Save).empty());
  EXPECT_FALSE(FileExists(Sample.Document()));
  const std::vector<TCall> calls = log.Calls();
  ASSERT_FALSE(calls.empty());
  const auto shown = std::find_if(calls.rbegin(), calls.rend(), [](const TCall& c) {
    return c.at(1) == WB::FenAppAfficher || (c.at(1) == OM::Visible && c.at(2) == "put" && HasField(c, "bool:-1"));
  });
  ASSERT_NE(shown, calls.rend());
  // Shown after the table of contents, that is at the end.
  const auto contents = std::find_if(calls.rbegin(), calls.rend(), [](const TCall& c) {
    return c.at(1) == "InsertionTableMatières" || (c.at(1) == "Add" && c.at(0).find("TablesOfContents") != std::string::npos);
  });
  EXPECT_LT(shown - calls.rbegin(), contents - calls.rbegin());
  // The document is still open in the word processor, with its units.
  TAuto app = TAuto::Create(L"Word.Application");
  ASSERT_TRUE(app);
  const std::wstring body = app.Obj(L"ActiveDocument").Obj(L"Content").GetText(L"Text");
  EXPECT_NE(body.find(W(AccentedUnit)), std::wstring::npos);
}

INSTANTIATE_TEST_SUITE_P(Dialects, EachDialect, testing::Values(WordBasic, ObjectModel),
                         [](const testing::TestParamInfo<TDialect>& info) { return std::string(info.param.Name); });

// Both dialects give the same document text, paragraph for paragraph.
TEST_F(Driver, BothDialectsWriteTheSameText) {
  Generate(WordBasic);
  const std::string first = ReadFileBytes(Sample.Document());
  Host.DocumentName = Sample.File("Word97.DOC");
  Generate(ObjectModel);
  const std::string second = ReadFileBytes(Sample.File("Word97.DOC"));
  EXPECT_TRUE(Host.Problems.empty());
  const std::vector<std::string> a = RtfParagraphs(first), b = RtfParagraphs(second);
  EXPECT_GT(a.size(), 100u);
  EXPECT_EQ(a, b);
}

// The diagram's file cancelled on the Word 97 path: page 1 stays empty, the
// contents and the save still come.
TEST_F(Driver, ACancelledDiagramFileLeavesPageOneEmptyButSaves) {
  TCallLog log(Sample.Dir());
  Host.DiagramName.clear();
  Generate(ObjectModel);
  EXPECT_TRUE(Host.Problems.empty());
  EXPECT_FALSE(FileExists(Sample.Diagram()));
  const std::string rtf = ReadFileBytes(Sample.Document());
  const std::vector<TRtfPicture> pictures = RtfPictures(rtf);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].Kind, "dib");
  EXPECT_EQ(log.Of("SaveAs").size(), 1u);
  EXPECT_NE(rtf.find("TOC "), std::string::npos);
}

// Bringing Word 95 to the front after a failure may fail too: the failure
// is still reported once, and nothing leaves the driver.
TEST_F(Driver, AReportSurvivesAWordThatNoLongerAnswers) {
  MSWord95 = true;
  Word = std::make_unique<TMSWord>(Host);
  ASSERT_TRUE(Word->Start());
  Word->NewDocument();
  SetSwitch("FailOn", "InsertionFichier;FenAppAfficher");
  EXPECT_NO_THROW(Word->AddUnit(AccentedUnit, "", Sample.File(std::string(AccentedUnit) + ".pas")));
  EXPECT_EQ(Host.Problems.size(), 1u);
  EXPECT_FALSE(Word->Started);
  EXPECT_NO_THROW(Word->Finish());
  EXPECT_EQ(Host.Problems.size(), 1u);
}

TEST(CmToPoints, IsTheCentimetreOfThePageSetup) {
  EXPECT_FLOAT_EQ(TMSWord::CmToPoints(1.5f), 42.525f);
  EXPECT_FLOAT_EQ(TMSWord::CmToPoints(0), 0);
}

}  // namespace
