#include <gtest/gtest.h>

#include <fstream>

#include "DiagramTestUtil.h"
#include "GdiGuard.h"
#include "Output.h"
#include "Png.h"
#include "Settings.h"

namespace diagtest {
namespace {

TEST(PrintOrientation, SwitchRule) {
  // Tall diagram on a wide page, wide diagram on a tall page.
  EXPECT_TRUE(OrientationShouldSwitch(3000, 2000, 100, 200));
  EXPECT_TRUE(OrientationShouldSwitch(2000, 3000, 200, 100));
  EXPECT_FALSE(OrientationShouldSwitch(3000, 2000, 200, 100));
  EXPECT_FALSE(OrientationShouldSwitch(2000, 3000, 100, 200));
  // Square pages and square diagrams never switch.
  EXPECT_FALSE(OrientationShouldSwitch(2000, 2000, 100, 200));
  EXPECT_FALSE(OrientationShouldSwitch(2000, 3000, 150, 150));
  EXPECT_EQ(SwitchedOrientation(DMORIENT_PORTRAIT), DMORIENT_LANDSCAPE);
  EXPECT_EQ(SwitchedOrientation(DMORIENT_LANDSCAPE), DMORIENT_PORTRAIT);
}

class PrintSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteProductKey();
    Settings = std::make_unique<TRegIniFile>(Reg::ProductKey);
  }
  void TearDown() override {
    Settings.reset();
    DeleteProductKey();
  }
};

TEST_F(PrintSettingTest, QuestionIsAskedOnceAndTheAnswerTurnsThePage) {
  EXPECT_EQ(Reg::ReadAutoOrientation(*Settings), Reg::TAutoOrientation::NotSet);
  int asked = 0;
  auto yes = [&] {
    ++asked;
    return true;
  };
  DEVMODEA mode{};
  mode.dmOrientation = DMORIENT_PORTRAIT;
  // A wide diagram on a tall page turns it to landscape.
  EXPECT_TRUE(DecidePrintOrientation(&mode, 2000, 3000, 2700, 1200, false, yes));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_TRUE(mode.dmFields & DM_ORIENTATION);
  EXPECT_EQ(Settings->ReadString("Options", "Portrait_Paysage_Automatique", "#"), "1");
  // The next tall diagram turns it back, without asking again.
  EXPECT_TRUE(DecidePrintOrientation(&mode, 3000, 2000, 800, 2400, true, yes));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
}

TEST_F(PrintSettingTest, AnsweringNoStoresFalseAndNeverTurns) {
  int asked = 0;
  auto no = [&] {
    ++asked;
    return false;
  };
  DEVMODEA mode{};
  mode.dmOrientation = DMORIENT_PORTRAIT;
  // The answer is the check mark, whatever the item showed before.
  EXPECT_FALSE(DecidePrintOrientation(&mode, 2000, 3000, 2700, 1200, true, no));
  EXPECT_FALSE(DecidePrintOrientation(&mode, 2000, 3000, 2700, 1200, false, no));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(mode.dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_EQ(Reg::ReadAutoOrientation(*Settings), Reg::TAutoOrientation::Off);
  // Once answered, the menu item decides at each print, whatever is stored:
  // checked turns the page, unchecked leaves it.
  EXPECT_TRUE(DecidePrintOrientation(&mode, 2000, 3000, 2700, 1200, true, no));
  EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
  Reg::WriteAutoOrientation(*Settings, true);
  EXPECT_FALSE(DecidePrintOrientation(&mode, 3000, 2000, 800, 2400, false, no));
  EXPECT_EQ(mode.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(asked, 1);
}

TEST(Centimetres, PointOnlyAndTenForAnythingElse) {
  EXPECT_DOUBLE_EQ(CentimetresOrTen("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("12,5"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("7"), 7.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen(" 7 "), 7.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen(".5"), 0.5);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("5."), 5.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("1e2"), 100.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen(""), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("abc"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("12.5cm"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("1.2.3"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("."), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("inf"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("0x10"), 10.0);
  // Sizes no picture can have.
  EXPECT_DOUBLE_EQ(CentimetresOrTen("0"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("-3"), 10.0);
  EXPECT_DOUBLE_EQ(CentimetresOrTen("1e9"), 10.0);
}

class CopyTest : public DiagramTest {
 protected:
  void SetUp() override {
    DiagramTest::SetUp();
    TFile* a = Add("Alpha", 0);
    TFile* p = Add("Project", 0);
    Uses(p, {a});
    Picture = Compose();
  }
  static ENHMETAHEADER ClipboardHeader() {
    ENHMETAHEADER header{};
    if (!OpenClipboard(nullptr)) return header;
    auto handle = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    if (handle) GetEnhMetaFileHeader(handle, sizeof header, &header);
    CloseClipboard();
    return header;
  }
  TMetafile Picture;
};

TEST_F(CopyTest, SizedPictureGoesToTheClipboard) {
  std::vector<std::string> prompts;
  auto ask = [&](const std::string& prompt, std::string& answer) {
    prompts.push_back(prompt + "=" + answer);
    answer = prompts.size() == 1 ? "12.5" : "12,5";
    return true;
  };
  TMetafile sized;
  ASSERT_TRUE(CopyDiagram(nullptr, Picture, ask, &sized));
  EXPECT_EQ(prompts, (std::vector<std::string>{"Graph width in cm=10", "Graph height in cm=10"}));
  const ENHMETAHEADER header = ClipboardHeader();
  EXPECT_EQ(header.dSignature, static_cast<DWORD>(ENHMETA_SIGNATURE));
  EXPECT_EQ(header.rclFrame.right - header.rclFrame.left, 12500);
  EXPECT_EQ(header.rclFrame.bottom - header.rclFrame.top, 10000);
  EXPECT_FALSE(sized.Empty());
  // The diagram itself keeps its own size.
  ENHMETAHEADER own{};
  GetEnhMetaFileHeader(Picture.Handle(), sizeof own, &own);
  EXPECT_NE(own.rclFrame.right, 12500);
}

TEST_F(CopyTest, CancellingEitherBoxCopiesNothing) {
  int asked = 0;
  auto cancelSecond = [&](const std::string&, std::string&) { return ++asked == 1; };
  EXPECT_FALSE(CopyDiagram(nullptr, Picture, cancelSecond, nullptr));
  EXPECT_EQ(asked, 2);
  asked = 0;
  auto cancelFirst = [&](const std::string&, std::string&) {
    ++asked;
    return false;
  };
  EXPECT_FALSE(CopyDiagram(nullptr, Picture, cancelFirst, nullptr));
  EXPECT_EQ(asked, 1);
}

TEST_F(CopyTest, SizedPictureHoldsTheWholeDiagram) {
  TMetafile sized = MetafileAtSize(Picture, 20.0, 5.0);
  ENHMETAHEADER header{};
  ASSERT_NE(GetEnhMetaFileHeader(sized.Handle(), sizeof header, &header), 0u);
  EXPECT_EQ(header.rclFrame.right, 20000);
  EXPECT_EQ(header.rclFrame.bottom, 5000);
  // The picture was played in: its texts are there.
  const std::vector<std::string> texts = TextsDrawn(sized.Handle());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Project"), texts.end());
}

class FileNameTest : public DiagramTest {
 protected:
  void SetUp() override {
    DiagramTest::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    GetCurrentDirectoryA(MAX_PATH, Start);
    Dir = std::string(temp) + "usagram_diagram_names";
    CreateDirectoryA(Dir.c_str(), nullptr);
    SetCurrentDirectoryA(Dir.c_str());
    MakeLocations({RGB(1, 1, 1), RGB(2, 2, 2)});  // location 1 is "." = Dir
  }
  void TearDown() override {
    DeleteFileA((Dir + "\\Demo.DOC").c_str());
    DeleteFileA((Dir + "\\Demo.EMF").c_str());
    SetCurrentDirectoryA(Start);
    RemoveDirectoryA(Dir.c_str());
    DiagramTest::TearDown();
  }
  char Start[MAX_PATH] = {};
  std::string Dir;
};

TEST_F(FileNameTest, ProposedBesideTheTopUnit) {
  EXPECT_EQ(ProposedFileName(".DOC"), "");  // no unit, no name
  Add("Other", 0);
  Add("Demo", 1);
  EXPECT_EQ(ProposedFileName(".DOC"), Locations[1]->Path + "\\Demo.DOC");
  EXPECT_EQ(ProposedFileName(".EMF"), Locations[1]->Path + "\\Demo.EMF");
  FileArray->Items[1]->Location = 0;
  EXPECT_EQ(ProposedFileName(".DOC"), ExpandFileName(Locations[0]->Path + "\\Demo.DOC"));
}

TEST_F(FileNameTest, TopUnitFoundNowhereGetsTheCurrentDirectory) {
  Add("Demo", -1);
  EXPECT_EQ(ProposedFileName(".DOC"), Dir + "\\Demo.DOC");
  FileArray->Items[0]->Location = -2;
  EXPECT_EQ(ProposedFileName(".EMF"), Dir + "\\Demo.EMF");
  FileArray->Items[0]->Location = 57;  // beyond the list
  EXPECT_EQ(ProposedFileName(".EMF"), Dir + "\\Demo.EMF");
}

TEST_F(FileNameTest, AnExistingFileAsksThroughTheDialog) {
  Add("Demo", 1);
  int asked = 0;
  std::string shown;
  auto cancel = [&](std::string& name) {
    ++asked;
    shown = name;
    return false;
  };
  EXPECT_EQ(DocumentFileName(cancel), Dir + "\\Demo.DOC");
  EXPECT_EQ(asked, 0);
  std::ofstream(Dir + "\\Demo.DOC") << "x";
  EXPECT_EQ(DocumentFileName(cancel), "");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(shown, Dir + "\\Demo.DOC");
  auto chooseOther = [&](std::string& name) {
    name = Dir + "\\Other.DOC";
    return true;
  };
  EXPECT_EQ(DocumentFileName(chooseOther), Dir + "\\Other.DOC");
  // The picture file is asked about on its own.
  EXPECT_EQ(DiagramFileName(cancel), Dir + "\\Demo.EMF");
}

TEST(SaveName, ExtensionBecomesEmf) {
  EXPECT_EQ(ProposedEmfName("C:\\P\\Demo.dpr"), "C:\\P\\Demo.EMF");
  EXPECT_EQ(ProposedEmfName("C:\\dir.v2\\Demo"), "C:\\dir.v2\\Demo.EMF");
  EXPECT_EQ(ProposedEmfName("Demo.tar.pas"), "Demo.tar.EMF");
}

TEST_F(CopyTest, PngOfTheDiagram) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "diagram_test.png";
  std::string error;
  ASSERT_TRUE(SaveMetafileAsPng(Picture.Handle(), 300, 200, path, error)) << error;
  std::ifstream in(path, std::ios::binary);
  char signature[8] = {};
  in.read(signature, 8);
  EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1A\n", 8));
  in.close();
  DeleteFileA(path.c_str());
  EXPECT_FALSE(SaveMetafileAsPng(Picture.Handle(), 0, 200, path, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(SaveMetafileAsPng(nullptr, 10, 10, path, error));
}

struct TStepGenerator : TDocumentGenerator {
  std::vector<std::string> Calls;
  bool FailStart = false;
  bool Start() override {
    Calls.push_back("Start");
    if (FailStart) throw std::runtime_error("no Word");
    return true;
  }
  void NewDocument() override { Calls.push_back(GeneratingDocument ? "NewDocument" : "NewDocument?"); }
  void AddUnit(const std::string& name, const std::string&, const std::string&) override { Calls.push_back(name); }
  void Finish() override { Calls.push_back("Finish"); }
};

TEST_F(CopyTest, DocumentGenerationRunsInOrderAndAlwaysClearsItsFlag) {
  TStepGenerator generator;
  DocumentGenerator = &generator;
  TRecordingHost host;
  EXPECT_TRUE(GenerateDocument(host, Picture));
  EXPECT_EQ(generator.Calls, (std::vector<std::string>{"Start", "NewDocument", "Alpha", "Project", "Finish"}));
  EXPECT_FALSE(GeneratingDocument);
  EXPECT_EQ(host.Calls.front(), "hourglass");
  EXPECT_EQ(host.Calls.back(), "arrow");

  generator.Calls.clear();
  generator.FailStart = true;
  host.Calls.clear();
  EXPECT_THROW(GenerateDocument(host, Picture), std::runtime_error);
  EXPECT_EQ(generator.Calls, (std::vector<std::string>{"Start"}));
  EXPECT_FALSE(GeneratingDocument);
  EXPECT_EQ(host.Calls.back(), "arrow");

  // Nothing while a composition runs.
  generator.Calls.clear();
  Composing = true;
  EXPECT_FALSE(GenerateDocument(host, Picture));
  Composing = false;
  EXPECT_TRUE(generator.Calls.empty());
}

}  // namespace
}  // namespace diagtest

namespace diagtest {
namespace {

// Until the simplification window exists, the drawing reads its options
// from the settings store, every one true unless stored otherwise.
TEST_F(PrintSettingTest, SimplificationOptionsFromTheStore) {
  const TSimplificationSource previous = SetSimplificationSource(nullptr);
  EXPECT_EQ(SimplificationOptions(), (TSimplification{true, true, true, true}));
  Settings->WriteBool("Aeration", "Aval", false);
  Settings->WriteBool("Aeration", "Doc", false);
  EXPECT_EQ(SimplificationOptions(), (TSimplification{true, false, true, false}));
  Settings->WriteBool("Aeration", "Amont", false);
  Settings->WriteBool("Aeration", "Vignette", false);
  EXPECT_EQ(SimplificationOptions(), (TSimplification{false, false, false, false}));
  Settings.reset();
  EXPECT_EQ(SimplificationOptions(), (TSimplification{true, true, true, true}));
  SetSimplificationSource(previous);
}

}  // namespace
}  // namespace diagtest
