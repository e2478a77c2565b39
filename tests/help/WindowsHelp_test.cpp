// Help from every window of the tool, as a user reaches it: F1 in each
// window opens its own page in Wine's HTML Help viewer, the Help menu's
// "&Contents" and "Quorvel" open the two help files, and the locations
// editor's Help button opens its page. The help files are the ones the build
// compiled, beside this test program as they are beside Usagram.exe.
#include "HelpViewer.h"
#include "HtmlHelp.h"
#include "LaterWindows.h"
#include "WindowsTestSupport.h"
#include "ufEditeur.h"
#include "ufAeration.h"
#include "ufLocalisations.h"
#include "ufUnite.h"
#include "ufUnitsdebase.h"

namespace {

class WindowsHelp : public ToolWindowsTest {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    ToolWindowsTest::SetUp();
    Application.HelpFile = HelpFileBesideProgram();
    Project.Write("Proj.dpr", {"program Proj;", "uses Main;", "begin", "end."});
    Project.Write("Main.pas", {"unit Main;", "interface", "uses Helper;", "implementation", "end."});
    Project.Write("Helper.pas", {"unit Helper;", "interface", "implementation", "end."});
    fUsagram->Afficherlalistedesfichiers1Click();  // no files list in the way
    Open(Project / "Proj.dpr");
    Main = UnitNamed("Main");
    ASSERT_NE(Main, nullptr);
  }
  void TearDown() override {
    HtmlHelp::CloseHelp();
    ToolWindowsTest::TearDown();
    Application.HelpFile.clear();
    CoUninitialize();
  }

  // F1 from the keyboard (as hardware input: the system turns it into
  // WM_HELP on its way to the focused window), handled by the program's own
  // message loop.
  static void PressF1(HWND window) {
    SetForegroundWindow(window);
    if (!IsChild(window, GetFocus())) SetFocus(window);
    Application.ProcessMessages();
    INPUT keys[2] = {};
    for (INPUT& k : keys) {
      k.type = INPUT_KEYBOARD;
      k.ki.wVk = VK_F1;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    for (int i = 0; i < 30; ++i) {
      Application.ProcessMessages();
      Sleep(10);
    }
  }

  // What the viewer was asked for, and that it is up with that page of the
  // file, read back from the compiled file with the page's title.
  void ExpectPage(int context, const char* title) {
    const std::string page(HelpTopicPage(context));
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(HtmlHelp::LastRequest().Target, Application.HelpFile + "::/" + page) << "context " << context;
    EXPECT_NE(FindViewer("Usagram Help"), nullptr) << "context " << context << ": no viewer";
    EXPECT_EQ(TitleOf(ReadCompiledPage(Application.HelpFile, page)), title);
  }

  // F1 inside a modal window, then the window closed.
  void F1InModal(TForm& form, const std::function<void()>& start, int context, const char* title) {
    EXPECT_EQ(Modal(form, start,
                    [&] {
                      PressF1(form.Handle());
                      ExpectPage(context, title);
                      PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
                    }),
              1);
  }

  TTempDirectory Project{"help"};
  TFile* Main = nullptr;
};

TEST_F(WindowsHelp, F1InTheMainWindowOpensItsPage) {
  SetForegroundWindow(fUsagram->Handle());
  PressF1(fUsagram->Handle());
  ExpectPage(1, "The main window");
}

TEST_F(WindowsHelp, F1InEachModalWindowOpensThatWindowsPage) {
  F1InModal(*fUnite, [this] { InspectUnit(*Main); }, 2, "The inspection window");
  F1InModal(*fUnitsdebase, [] { ExecuteBasicUnitsEditor(); }, 4, "The basic units editor");
  F1InModal(*fLocalisations, [] { ExecuteLocationsEditor(); }, 5, "The locations editor");
  ASSERT_NE(fBugReport, nullptr);
  F1InModal(*fBugReport, [] { ShowBugReport(); }, 6, "The bug report");
  F1InModal(*fAeration, [] { ExecuteSimplification(); }, 7, "The simplification options");
}

TEST_F(WindowsHelp, F1InTheSourceEditorOpensItsPage) {
  fUsagram->Selected = Main;
  fUsagram->Editer1Click();
  Application.ProcessMessages();
  ASSERT_NE(Main->Editor, nullptr);
  PressF1(Main->Editor->Handle());
  ExpectPage(3, "The source editor");
}

TEST_F(WindowsHelp, TheLocationsEditorsHelpButtonOpensItsPage) {
  EXPECT_EQ(Modal(*fLocalisations, [] { ExecuteLocationsEditor(); },
                  [&] {
                    SendMessageA(fLocalisations->BitBtn2.Handle(), BM_CLICK, 0, 0);
                    ExpectPage(5, "The locations editor");
                    PostMessageA(fLocalisations->Handle(), WM_CLOSE, 0, 0);
                  }),
            1);
}

TEST_F(WindowsHelp, TheHelpMenuOpensTheContentsAndTheMakersFile) {
  fUsagram->Rubriquesdaide1Click();
  EXPECT_EQ(HtmlHelp::LastRequest().Target, Application.HelpFile);
  EXPECT_EQ(HtmlHelp::LastRequest().Command, 1u);  // HH_DISPLAY_TOC
  PumpFor(200);
  EXPECT_NE(FindViewer("Usagram Help"), nullptr);

  fUsagram->Quorvel1Click();
  EXPECT_EQ(HtmlHelp::LastRequest().Target, HelpFileBesideProgram(HelpFiles::Quorvel));
  PumpFor(200);
  EXPECT_NE(FindViewer("Quorvel"), nullptr);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(WindowsHelp, WithoutTheHelpFilesTheHelpMenuSaysWhichFileIsMissing) {
  Application.HelpFile = Project / "Usagram.chm";  // a copy without its help
  TModalAnswer answer(IDOK);
  fUsagram->Rubriquesdaide1Click();
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_NE(answer.Text().find(Project / "Usagram.chm"), std::string::npos) << answer.Text();
  PressF1(fUsagram->Handle());
  EXPECT_EQ(answer.Count(), 2);
  EXPECT_EQ(FindViewer("Usagram Help"), nullptr);
}

}  // namespace
