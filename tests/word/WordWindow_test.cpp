// Ctrl+G in the main window, with the driver installed as Usagram.exe
// installs it: real keys through the window's accelerators, the boxes and
// save dialogs answered by a hook, the stand-in as Word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "Analysis.h"
#include "ClipboardOwner.h"
#include "Compose.h"
#include "Globales.h"
#include "HostPath.h"
#include "Messages.h"
#include "ModalAnswer.h"
#include "Settings.h"
#include "WordTestSupport.h"
#include "WordWindowHost.h"
#include "Yield.h"
#include "ufUsagram.h"

namespace {

// The texts of status panel 0, each time the message loop runs.
std::vector<std::string> Statuses;
void RecordStatus() {
  if (fUsagram) {
    const std::string text = fUsagram->StatusBar.PanelText(0);
    if (Statuses.empty() || Statuses.back() != text) Statuses.push_back(text);
  }
  Application.ProcessMessages();
}

// What a box or dialog showed: its caption and its text.
struct TShown {
  std::string Caption, Text;
};

class WordWindow : public TWordprocTest {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }

  void SetUp() override {
    TWordprocTest::SetUp();
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    StartDirectory = cwd;
    CommandLineParameters.clear();
    DeleteProductKey();
    UsagramInitialise();
    ImagesDirectory = Sample.Pictures();
    Form = std::make_unique<TfUsagram>();
    Form->Show();
    Application.ProcessMessages();
    Application.OnException = [this](const std::string& m) { Errors.push_back(m); };
    Installation = std::make_unique<TMSWordInstallation>(Host);
    Form->OpenDialog.FileName = Sample.Project();
    Form->LoadProject();
    Application.ProcessMessages();
    ASSERT_TRUE(FileArray);
  }

  void TearDown() override {
    Installation.reset();
    Form.reset();
    UsagramFinalise();
    Application.OnException = nullptr;
    DeleteProductKey();
    SetCurrentDirectoryA(StartDirectory.c_str());
    TWordprocTest::TearDown();
  }

  // Ctrl+G as the keyboard gives it: the key with Control down, through
  // the window's accelerator table.
  void PressCtrlG() {
    BYTE keys[256], saved[256];
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(keys));
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(Form->Handle(), WM_KEYDOWN, 'G', 1);
    Application.ProcessMessages();
    SetKeyboardState(saved);
    PostMessageA(Form->Handle(), WM_KEYUP, 'G', 0xC0000001);
    Application.ProcessMessages();
  }

  // Answers every box and dialog: answer(shown) gives the button.
  std::unique_ptr<TModalAnswer> Answer(std::function<int(const TShown&)> answer) {
    return std::make_unique<TModalAnswer>(
        [this, answer](HWND box) {
          char text[4096] = {}, caption[256] = {};
          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          GetWindowTextA(box, caption, sizeof caption);
          Shown.push_back({caption, text});
          TModalAnswer::PostButton(box, answer(Shown.back()));
        },
        "#32770");
  }

  void ExpectIdleAfterTheRun() {
    EXPECT_TRUE(Errors.empty()) << Errors.front();
    EXPECT_FALSE(GeneratingDocument);
    EXPECT_FALSE(Composing);
    EXPECT_EQ(Form->StatusBar.PanelText(0), Msg::StatusReady);
    EXPECT_TRUE(Form->Ouvrir1->Enabled());
    EXPECT_TRUE(Form->GnrerunedocumentationsousWord1->Enabled());
  }

  std::string StartDirectory;
  TSampleProject Sample;
  TWordWindowHost Host;
  std::unique_ptr<TfUsagram> Form;
  std::unique_ptr<TMSWordInstallation> Installation;
  std::vector<std::string> Errors;
  std::vector<TShown> Shown;
};

// The document beside the project, the progress in the status bar, no box;
// a second run finds the document there and asks for its name in SaveDOC:
// cancelled, the document stays as it was and Word is shown.
TEST_F(WordWindow, CtrlGWritesTheDocumentBesideTheProject) {
  ASSERT_TRUE(MSWord95);
  auto answer = Answer([](const TShown&) { return IDCANCEL; });
  TCallLog log(Sample.Dir());
  Statuses.clear();
  const TYieldHook previous = SetProcessMessagesHook(RecordStatus);
  PressCtrlG();
  SetProcessMessagesHook(previous);
  EXPECT_TRUE(Shown.empty()) << Shown.front().Text;
  ASSERT_TRUE(FileExists(Sample.Document()));
  ExpectIdleAfterTheRun();

  const std::vector<std::string> expected = {
      Msg::StatusLoadingWord, Msg::StatusGenerating, Msg::StatusCreatingDocument, Msg::StatusPageSetup,
      Msg::StatusFooter,      Msg::StatusTitle,      Msg::StatusPicture,          Msg::StatusSource,
      Msg::StatusDiagram,     Msg::StatusContents,   Msg::StatusSaving,           Msg::StatusReady};
  auto at = Statuses.begin();
  for (const std::string& status : expected) {
    at = std::find(at, Statuses.end(), status);
    EXPECT_NE(at, Statuses.end()) << status << " missing or out of order";
  }
  // The composition of a document does not say it composes.
  EXPECT_EQ(std::find(Statuses.begin(), Statuses.end(), Msg::StatusComposing), Statuses.end());

  // For the rendering test: the window's document beside the others.
  if (const char* work = std::getenv("WORD_WORK"); work && *work)
    CopyFileA(Sample.Document().c_str(), (HostPath(work) + "\\Window.doc").c_str(), FALSE);

  const std::string before = ReadFileBytes(Sample.Document());
  log.Clear();
  PressCtrlG();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Caption, "Save document");
  EXPECT_EQ(ReadFileBytes(Sample.Document()), before);
  EXPECT_TRUE(log.Of("FichierEnregistrerSous").empty());
  const std::vector<TCall> calls = log.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().at(1), "FenAppAfficher");
  ExpectIdleAfterTheRun();
}

// While Word works the message loop runs: no command may start a second
// run, or a composition, in the middle of this one (the composition's own
// "Ready" comes after the document is finished).
struct TReentry {
  static inline int Yields = 0, Enabled = 0;
  static void OnYield() {
    const std::string status = fUsagram ? fUsagram->StatusBar.PanelText(0) : std::string();
    if (fUsagram && ((GeneratingDocument && status != Msg::StatusReady) || status == Msg::StatusLoadingWord)) {
      if (Yields++ == 2) {
        fUsagram->GnrerunedocumentationsousWord1->Click();
        fUsagram->Redessinne1->Click();
      }
      if (fUsagram->GnrerunedocumentationsousWord1->Enabled() || fUsagram->Redessinne1->Enabled()) ++Enabled;
    }
    Application.ProcessMessages();
  }
};

TEST_F(WordWindow, NoCommandStartsWhileWordWorks) {
  TCallLog log(Sample.Dir());
  auto answer = Answer([](const TShown&) { return IDOK; });
  TReentry::Yields = TReentry::Enabled = 0;
  const TYieldHook previous = SetProcessMessagesHook(TReentry::OnYield);
  PressCtrlG();
  SetProcessMessagesHook(previous);
  EXPECT_TRUE(Shown.empty()) << Shown.front().Text;
  EXPECT_GT(TReentry::Yields, 10);
  EXPECT_EQ(TReentry::Enabled, 0);
  EXPECT_EQ(log.Of("FichierNouveau").size(), 1u);
  EXPECT_EQ(log.Of("InsertionFichier").size(), 5u);
  EXPECT_TRUE(FileExists(Sample.Document()));
  ExpectIdleAfterTheRun();
}

// Word 97 asks for the diagram's file in SaveEMF when it exists: cancelled,
// page 1 stays empty and the document is still written.
TEST_F(WordWindow, Word97AsksForTheDiagramFileWhenItExists) {
  Form->WordClick();
  ASSERT_FALSE(MSWord95);
  ASSERT_TRUE(Form->Metafile.SaveToFile(Sample.Diagram()));
  const std::string diagram = ReadFileBytes(Sample.Diagram());
  auto answer = Answer([](const TShown&) { return IDCANCEL; });
  PressCtrlG();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Caption, "Save diagram picture");
  EXPECT_EQ(ReadFileBytes(Sample.Diagram()), diagram);
  ASSERT_TRUE(FileExists(Sample.Document()));
  // Only the unit's own picture: nothing took the diagram's place.
  const std::vector<TRtfPicture> pictures = RtfPictures(ReadFileBytes(Sample.Document()));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].Kind, "dib");
  ExpectIdleAfterTheRun();
}

// A failing unit: one box, captioned "Usagram", naming the unit; the run
// ends cleanly and nothing is saved.
TEST_F(WordWindow, AFailureShowsOneBox) {
  SetSwitch("FailOn", "InsertionFichier");
  auto answer = Answer([](const TShown&) { return IDOK; });
  PressCtrlG();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Caption, Msg::AppCaption);
  EXPECT_EQ(Shown[0].Text.rfind("A problem has occurred while generating document while inserting " +
                                    FoundUnitsInDrawingOrder().front() + " :\r\n     InsertionFichier failed",
                                0),
            0u)
      << Shown[0].Text;
  EXPECT_FALSE(FileExists(Sample.Document()));
  ExpectIdleAfterTheRun();
}

// Word 95 absent: "No" to the question gives "Unable to execute ..." and,
// without Word, the diagram on the clipboard; "Yes" switches the setting
// and the menu item and writes the document through Word 97.
TEST_F(WordWindow, Word95AbsentAsksToTryWord97) {
  TRegistration only97("Word.Application");
  ASSERT_TRUE(only97.Done());
  {
    TOpenClipboard clipboard(Form->Handle());
    EmptyClipboard();
  }
  bool yes = false;
  auto answer = Answer([&yes](const TShown& shown) {
    if (shown.Text == Msg::TryWord97) return yes ? IDYES : IDNO;
    return IDOK;
  });
  PressCtrlG();
  ASSERT_EQ(Shown.size(), 2u);
  EXPECT_EQ(Shown[0].Caption, Msg::AppCaption);
  EXPECT_EQ(Shown[0].Text, Msg::TryWord97);
  EXPECT_EQ(Shown[1].Text, "Unable to execute Microsoft Word(tm).");
  EXPECT_TRUE(MSWord95);
  EXPECT_EQ(Form->Word->Caption(), "Microsoft &Word 97 (tm)");
  EXPECT_FALSE(FileExists(Sample.Document()));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_ENHMETAFILE));
  ExpectIdleAfterTheRun();

  yes = true;
  Shown.clear();
  PressCtrlG();
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Shown[0].Text, Msg::TryWord97);
  EXPECT_FALSE(MSWord95);
  EXPECT_EQ(Form->Word->Caption(), "Microsoft &Word 95 (tm)");
  EXPECT_TRUE(FileExists(Sample.Document()));
  ExpectIdleAfterTheRun();
}

}  // namespace
