// The main window driven as a user would: real messages to its image and
// menus, modal boxes answered by a hook, the registry of the test prefix.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Analysis.h"
#include "Globales.h"
#include "HostPath.h"
#include "Layout.h"
#include "ModalAnswer.h"
#include "Settings.h"
#include "Units.h"
#include "Yield.h"
#include "ufUsagram.h"
#include "WindowsTestSupport.h"

namespace {

const std::string Samples = HostPath(USAGRAM_SAMPLES);
const std::string PlainProject = Samples + "\\Plain\\Plain.dpr";
const std::string BasicsProject = Samples + "\\Basics\\Basics.dpr";

// The window's state each time the analysis lets the message loop run.
struct TRunProbe {
  static inline std::vector<std::string> Statuses;
  static inline int Yields = 0, YieldsWithOpenEnabled = 0;
  static void Reset() {
    Statuses.clear();
    Yields = YieldsWithOpenEnabled = 0;
  }
  static void OnYield() {
    if (!fUsagram) return;
    ++Yields;
    const std::string status = fUsagram->StatusBar.PanelText(0);
    // The composition gives the menus back as it ends ("Ready").
    if (fUsagram->Ouvrir1->Enabled() && status != "Ready") ++YieldsWithOpenEnabled;
    if (Statuses.empty() || Statuses.back() != status) Statuses.push_back(status);
  }
};

class MainWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }

  void SetUp() override {
    CommandLineParameters.clear();  // the test runner's own arguments are not a project
    DeleteProductKey();
    UsagramInitialise();
    Form = std::make_unique<TfUsagram>();
    Form->Show();
    Application.ProcessMessages();
    Errors.clear();
    Application.OnException = [this](const std::string& m) { Errors.push_back(m); };
  }

  void TearDown() override {
    Form.reset();
    UsagramFinalise();
    Application.OnException = nullptr;
    DeleteProductKey();
  }

  void Open(const std::string& path) {
    Form->OpenDialog.FileName = path;
    Form->LoadProject();
    Application.ProcessMessages();
  }

  // Image coordinates of a diagram point, as the mouse would give them.
  POINT ImagePoint(POINT diagram) const {
    return {MulDiv(diagram.x, Form->Image.Width(), Form->Metafile.Width),
            MulDiv(diagram.y, Form->Image.Height(), Form->Metafile.Height)};
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  void Click(POINT imagePoint, UINT down, UINT up) {
    const LPARAM at = MAKELPARAM(imagePoint.x, imagePoint.y);
    SendMessageA(Form->Image.Handle(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, at);
    SendMessageA(Form->Image.Handle(), up, 0, at);
    Application.ProcessMessages();
  }

  TFile* UnitNamed(const std::string& name) {
    for (int i = 0; i < FileArray->Count; ++i)
      if (FileArray->Items[i]->Name == name) return FileArray->Items[i];
    return nullptr;
  }

  std::unique_ptr<TfUsagram> Form;
  std::vector<std::string> Errors;
};

TEST_F(MainWindow, StartsIdleWithThePaddedTitle) {
  const std::string caption = Form->Caption();
  ASSERT_EQ(caption.size(), 255u);
  EXPECT_EQ(caption.substr(0, 10), "Usagram - ");
  EXPECT_EQ(caption.find_first_not_of('#', 10), std::string::npos);
  EXPECT_EQ(Form->ClientWidth(), 632);
  EXPECT_EQ(Form->StatusBar.PanelCount(), 2);
  // Before any diagram: File, Open, Quit and Help only.
  EXPECT_TRUE(Form->Fichier1->Enabled());
  EXPECT_TRUE(Form->Ouvrir1->Enabled());
  EXPECT_TRUE(Form->Quitter1->Enabled());
  EXPECT_TRUE(Form->Aproposde1->Enabled());
  EXPECT_FALSE(Form->Sauver1->Enabled());
  EXPECT_FALSE(Form->Edition1->Enabled());
  EXPECT_FALSE(Form->Recharge1->Enabled());
  EXPECT_FALSE(Form->Zoomx21->Enabled());
}

TEST_F(MainWindow, MenusCarryTheirCaptionsAndShortcuts) {
  struct TRow {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  const TRow rows[] = {
      {"Ouvrir1", "&Open", "Ctrl+O"}, {"Sauver1", "&Save", "Ctrl+S"}, {"Imprimante1", "P&rinter", ""},
      {"Imprimer1", "&Print", "Ctrl+P"}, {"Quitter1", "&Quit", "Ctrl+Q"}, {"Copier1", "&Copy", "Ctrl+C"},
      {"GnrerunedocumentationsousWord1", "&Generate a document with Microsoft Word(tm)", "Ctrl+G"},
      {"x21", "Zoom &x 2", "Ctrl+I"}, {"N21", "Zoom &/ 2", "Ctrl+U"}, {"Tailledelafentre1", "&Window size", "Ctrl+A"},
      {"Listedesfichiers1", "&Files list", ""}, {"Recharge1", "&Reload !", ""}, {"Redessinne1", "Re&draw !", ""},
      {"Unitsdebase1", "&Basic units", ""}, {"Localisations1", "&Locations", ""},
      {"Arationdudiagramme1", "&Diagram simplification", ""},
      {"Afficherlalistedesfichiers1", "Display &files list", ""},
      {"RglagePortraitPaysageautomatiquedelimpression1", "Automatic &Portrait/Landscape printer setting", ""},
      {"Rpertoiredimagespourladocumentation1", "Directory of pictures for document", ""},
      {"InstallerdansBorlandDelphicommeoutil1", "&Install in Borland &Delphi(tm) as Tool", ""},
      {"Word", "Microsoft &Word 97 (tm)", ""}, {"Rubriquesdaide1", "&Contents", ""},
      {"Aproposde1", "&About ...", ""}, {"Rapportdebogue1", "&Bug report", ""}, {"Quorvel1", "Quorvel", ""}};
  for (const TRow& row : rows) {
    TMenuItem* item = Form->MainMenu1.Find(row.name);
    ASSERT_NE(item, nullptr) << row.name;
    EXPECT_EQ(item->Caption(), row.caption);
    EXPECT_EQ(ShortCutToText(item->ShortCut()), row.shortcut) << row.name;
  }
  for (const char* name : {"Zoomx21", "Zoom21", "truc1", "Inspecter1", "Editer1", "Rapportdebogue2"})
    EXPECT_NE(Form->PopupMenu.Find(name), nullptr) << name;
  EXPECT_TRUE(Form->Afficherlalistedesfichiers1->Checked());  // the default
  EXPECT_FALSE(Form->RglagePortraitPaysageautomatiquedelimpression1->Checked());
}

TEST_F(MainWindow, LoadProjectDisablesTheMenusWhileItRuns) {
  TRunProbe::Reset();
  TYieldHook previous = SetProcessMessagesHook(&TRunProbe::OnYield);
  Open(PlainProject);
  SetProcessMessagesHook(previous);

  EXPECT_TRUE(Errors.empty());
  EXPECT_EQ(Form->Caption(), "Usagram - " + PlainProject);
  EXPECT_GT(TRunProbe::Yields, 10);
  EXPECT_EQ(TRunProbe::YieldsWithOpenEnabled, 0);
  ASSERT_GE(TRunProbe::Statuses.size(), 3u);
  EXPECT_EQ(TRunProbe::Statuses[0], "Initializing diagram ...");
  EXPECT_NE(std::find(TRunProbe::Statuses.begin(), TRunProbe::Statuses.end(), "Sorting diagram's branches ..."),
            TRunProbe::Statuses.end());
  EXPECT_NE(std::find(TRunProbe::Statuses.begin(), TRunProbe::Statuses.end(), "Composing diagram's metafile ..."),
            TRunProbe::Statuses.end());
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
  // Afterwards every item is enabled, and the diagram is shown.
  EXPECT_TRUE(Form->Sauver1->Enabled());
  EXPECT_TRUE(Form->Recharge1->Enabled());
  EXPECT_TRUE(Form->Zoomx21->Enabled());
  EXPECT_FALSE(Form->Metafile.Empty());
  EXPECT_NE(Form->Image.Metafile(), nullptr);
  ASSERT_TRUE(FileArray);
  EXPECT_EQ(FileArray->Items[FileArray->Count - 1]->Name, "Plain");
  EXPECT_FALSE(Analysing);
}

TEST_F(MainWindow, TheCommandLineProjectOpensAtTheFirstPaint) {
  Form.reset();
  CommandLineParameters = {PlainProject};
  Form = std::make_unique<TfUsagram>();
  EXPECT_TRUE(Form->AutoOpen);
  EXPECT_EQ(Form->Caption(), "Usagram - " + PlainProject);
  EXPECT_FALSE(FileArray);
  Form->Show();
  UpdateWindow(Form->Handle());  // the first paint runs the analysis
  Application.ProcessMessages();
  EXPECT_FALSE(Form->AutoOpen);
  ASSERT_TRUE(FileArray);
  EXPECT_EQ(FileArray->Items[FileArray->Count - 1]->Name, "Plain");
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
  CommandLineParameters.clear();
}

TEST_F(MainWindow, AMissingProjectIsSaidToBeMissing) {
  const std::string missing = Samples + "\\Plain\\Nowhere.dpr";
  TModalAnswer answer(IDOK);
  Open(missing);
  // One warning box, and the status bar keeps it in sight.
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Text(), "Cannot find the project file \"" + missing + "\".");
  EXPECT_EQ(answer.Caption(), "Usagram");
  EXPECT_EQ(Form->StatusBar.PanelText(0), answer.Text());
  ASSERT_NE(FileArray, nullptr);
  EXPECT_EQ(FileArray->Count, 1);
  EXPECT_EQ(FileArray->Items[0]->Location, -1);
  EXPECT_TRUE(Form->Ouvrir1->Enabled());
  // A project that is there says nothing.
  TModalAnswer none(IDOK);
  Open(PlainProject);
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
}

TEST_F(MainWindow, OpenGoesThroughTheOpenDialog) {
  TModalAnswer answer(
      [](HWND dialog) {
        // The file name box of the open dialog, then its OK button.
        HWND edit = GetDlgItem(dialog, 0x47C);  // cmb13
        if (!edit) edit = GetDlgItem(dialog, 0x480);  // edt1
        SetWindowTextA(edit, PlainProject.c_str());
        TModalAnswer::PostButton(dialog, IDOK);
      },
      "#32770");
  Form->Ouvrir1Click();
  Application.ProcessMessages();
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(Form->Caption(), "Usagram - " + PlainProject);
  ASSERT_TRUE(FileArray);
  EXPECT_GT(FileArray->Count, 1);
}

TEST_F(MainWindow, LeftClickHidesALabelForGood) {
  Open(PlainProject);
  TFile* main = UnitNamed("Main");
  ASSERT_NE(main, nullptr);
  const POINT at = ImagePoint(Centre(main->LabelRect));
  Click(at, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_TRUE(main->Hidden);
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
  // The hidden label is never hit again: the same click does not show it.
  Click(at, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_TRUE(main->Hidden);
}

TEST_F(MainWindow, LeftClickOnTheBasicUnitsBoxToggles) {
  AddBasicUnit("Forms");
  AddBasicUnit("SysUtils");
  AddBasicUnit("Windows");
  Open(PlainProject);
  ASSERT_GT(FileArray->BasicCount, 0);
  const RECT box = UBase->LabelRect;
  ASSERT_GT(box.bottom, box.top);
  const POINT at = ImagePoint(Centre(box));
  Click(at, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_TRUE(UBase->Hidden);
  Click(at, WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_FALSE(UBase->Hidden);
}

TEST_F(MainWindow, RightClickShowsThePopupReducedForUnitsWithoutSource) {
  AddBasicUnit("Forms");
  Open(PlainProject);
  // The popup runs its own loop; a thread-less timer reads it and closes it.
  static std::vector<bool> inspectVisible;
  inspectVisible.clear();
  auto popupAt = [&](POINT diagram) {
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      inspectVisible.push_back(fUsagram->Inspecter1->Visible() && fUsagram->Editer1->Visible());
      EndMenu();
    });
    Click(ImagePoint(diagram), WM_RBUTTONDOWN, WM_RBUTTONUP);
  };
  TFile* main = UnitNamed("Main");
  ASSERT_NE(main, nullptr);
  popupAt(Centre(main->LabelRect));
  popupAt(Centre(UBase->LabelRect));
  ASSERT_EQ(inspectVisible.size(), 2u);
  EXPECT_TRUE(inspectVisible[0]);
  EXPECT_FALSE(inspectVisible[1]);
  EXPECT_EQ(Form->Selected, UBase.get());
  const POINT boxCentre = ImagePoint(Centre(UBase->LabelRect));
  EXPECT_EQ(Form->ClickPoint.x, boxCentre.x);
  EXPECT_EQ(Form->ClickPoint.y, boxCentre.y);
}

TEST_F(MainWindow, ZoomDoublesAndHalvesWithinBounds) {
  Open(PlainProject);
  const int width = Form->Image.Width(), height = Form->Image.Height();
  Form->x21Click();
  EXPECT_EQ(Form->Image.Width(), 2 * width);
  EXPECT_EQ(Form->Image.Height(), 2 * height);
  Form->N21Click();
  Form->N21Click();
  EXPECT_EQ(Form->Image.Width(), width / 2);
  for (int i = 0; i < 40; ++i) Form->N21Click();
  EXPECT_GE(Form->Image.Width(), TfUsagram::MinImageSide);
  EXPECT_GE(Form->Image.Height(), TfUsagram::MinImageSide);
  for (int i = 0; i < 60; ++i) Form->x21Click();
  EXPECT_LE(Form->Image.Width(), TfUsagram::MaxImageSide);
  EXPECT_LE(Form->Image.Height(), TfUsagram::MaxImageSide);
  EXPECT_GT(Form->Image.Width(), TfUsagram::MaxImageSide / 2);
  Form->Tailledelafentre1Click();
  Application.ProcessMessages();
  EXPECT_EQ(Form->Image.Width(), Form->ScrollBox.ClientWidth());
  EXPECT_EQ(Form->Image.Height(), Form->ScrollBox.ClientHeight());
}

// The picture that Copy puts on the clipboard, in .01 mm.
SIZE ClipboardFrame(HWND owner) {
  SIZE size{0, 0};
  if (!OpenClipboard(owner)) return size;
  if (auto mf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(mf, sizeof header, &header);
    size = {header.rclFrame.right - header.rclFrame.left, header.rclFrame.bottom - header.rclFrame.top};
  }
  CloseClipboard();
  return size;
}

TEST_F(MainWindow, CopyReadsCentimetresWithAPointOnly) {
  Open(PlainProject);
  for (const auto& [answer, expected] : {std::pair<std::string, LONG>{"12.5", 12500}, {"12,5", 10000}}) {
    int boxes = 0;
    // The input boxes are forms of ours; the main window is one too and is
    // activated again in between, so only a form with an edit is answered.
    TModalAnswer fill(
        [answer = answer, &boxes](HWND form) {
          HWND edit = FindWindowExA(form, nullptr, "Edit", nullptr);
          if (!edit) return;
          ++boxes;
          SetWindowTextA(edit, answer.c_str());
          PostMessageA(form, WM_KEYDOWN, VK_RETURN, 0);
        },
        "UsagramForm");
    Form->Copier1Click();
    Application.ProcessMessages();
    EXPECT_EQ(boxes, 2) << answer;
    const SIZE frame = ClipboardFrame(Form->Handle());
    EXPECT_NEAR(frame.cx, expected, 30) << answer;
    EXPECT_NEAR(frame.cy, expected, 30) << answer;
  }
}

TEST_F(MainWindow, TheFirstCloseIsRefusedThenClosesThroughTheWelcome) {
  ClosingShown = false;
  bool canClose = true;
  Form->FormCloseQuery(canClose);
  EXPECT_FALSE(canClose);
  EXPECT_TRUE(ClosingShown);
  canClose = true;
  Form->FormCloseQuery(canClose);
  EXPECT_TRUE(canClose);
}

TEST_F(MainWindow, OptionsAreWrittenAtDestruction) {
  // Never answered and unchecked: the print question stays pending.
  Form->Afficherlalistedesfichiers1Click();
  Form.reset();
  EXPECT_EQ(Settings->ReadString("Options", "Portrait_Paysage_Automatique", "#"), "#");
  EXPECT_EQ(Settings->ReadString("Options", "AfficherListeDeFichiers", "#"), "0");

  Form = std::make_unique<TfUsagram>();
  EXPECT_FALSE(Form->Afficherlalistedesfichiers1->Checked());
  Form->RglagePortraitPaysageautomatiquedelimpression1Click();
  Form.reset();
  EXPECT_EQ(Settings->ReadString("Options", "Portrait_Paysage_Automatique", "#"), "1");

  Form = std::make_unique<TfUsagram>();
  EXPECT_TRUE(Form->RglagePortraitPaysageautomatiquedelimpression1->Checked());
  Form->RglagePortraitPaysageautomatiquedelimpression1Click();  // answered once: off is written too
  Form.reset();
  EXPECT_EQ(Settings->ReadString("Options", "Portrait_Paysage_Automatique", "#"), "0");
}

TEST_F(MainWindow, WordItemNamesTheOtherVersion) {
  const bool before = MSWord95;
  Form->WordClick();
  EXPECT_NE(MSWord95, before);
  EXPECT_EQ(Form->Word->Caption(), MSWord95 ? "Microsoft &Word 97 (tm)" : "Microsoft &Word 95 (tm)");
  Form->WordClick();
  EXPECT_EQ(MSWord95, before);
}

TEST_F(MainWindow, WindowsOfLaterVersionsSaySoAndReloadIsRefusedDuringARun) {
  Open(PlainProject);
  TModalAnswer answer(IDOK);
  Form->GnrerunedocumentationsousWord1Click();
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_NE(answer.Text().find("not available"), std::string::npos);
  EXPECT_EQ(answer.Caption(), "Usagram");

  // A reload asked for from inside a run returns at once.
  Form->OpenDialog.FileName = PlainProject;
  static int nestedRuns = 0;
  nestedRuns = 0;
  TYieldHook previous = SetProcessMessagesHook([] {
    if (Analysing && nestedRuns == 0) {
      ++nestedRuns;
      fUsagram->Recharge1Click();  // disabled in the menu, and refused here
    }
  });
  Form->LoadProject();
  SetProcessMessagesHook(previous);
  EXPECT_EQ(nestedRuns, 1);
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
  EXPECT_TRUE(Errors.empty());
}

TEST_F(MainWindow, TheBannerScrollsLeftAsOneBand) {
  const int before = Form->L1.Left();
  Form->TimerTimer();
  EXPECT_EQ(Form->L1.Left(), before - 1);
  EXPECT_EQ(Form->L2.Left(), Form->L1.Left() + Form->L1.Width());
  EXPECT_EQ(Form->L1.Text().size(), 34u);
  EXPECT_EQ(Form->L2.Text().size(), 58u);
  EXPECT_EQ(Form->L3.Text().size(), 92u);
  EXPECT_EQ(Form->L4.Text().size(), 70u);
  // L1 goes behind L4 once it has left the strip; L4 moves after it in
  // the same step.
  Form->L1.SetLeft(-Form->L1.Width() + 1);
  Form->TimerTimer();
  EXPECT_EQ(Form->L1.Left(), Form->L4.Left() + Form->L4.Width() + 1);
}

// A name given relative to the directory that was current is the same file
// after the first run made the project's directory current.
TEST_F(MainWindow, ARelativeProjectNameNamesTheSameFileOnEveryRun) {
  ASSERT_TRUE(SetCurrentDirectoryA(Samples.c_str()));
  TModalAnswer boxes(IDCANCEL);  // a warning, or the save dialog
  Open("Plain\\Plain.dpr");
  EXPECT_EQ(Form->OpenDialog.FileName, PlainProject);
  EXPECT_EQ(Form->Caption(), "Usagram - " + PlainProject);
  Form->Recharge1Click();
  Application.ProcessMessages();
  EXPECT_EQ(boxes.Count(), 0) << boxes.Text();
  ASSERT_TRUE(FileArray);
  EXPECT_TRUE(FileArray->Root->Found);
  EXPECT_EQ(FileArray->Root->Name, "Plain");
  EXPECT_EQ(Form->Caption(), "Usagram - " + PlainProject);
  Form->Sauver1Click();  // the save dialog, cancelled
  EXPECT_EQ(boxes.Count(), 1);
  EXPECT_EQ(Form->SaveEMF.FileName, Samples + "\\Plain\\Plain.EMF");
  EXPECT_TRUE(Errors.empty());

  // The same for a name from the command line.
  Form.reset();
  ASSERT_TRUE(SetCurrentDirectoryA((Samples + "\\Plain").c_str()));
  CommandLineParameters = {"..\\Basics\\Basics.dpr"};
  Form = std::make_unique<TfUsagram>();
  CommandLineParameters.clear();
  EXPECT_EQ(Form->OpenDialog.FileName, BasicsProject);
  EXPECT_EQ(Form->Caption(), "Usagram - " + BasicsProject);
}

// The text of a status panel as the bar holds it: a leading tab centres it.
std::string PanelShown(const TStatusBar& bar, int panel) {
  char text[1024] = {};
  SendMessageA(bar.Handle(), SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(MainWindow, AProblemInTheStatusBarReadsFromItsStart) {
  const std::string missing = Samples + "\\Plain\\Nowhere.dpr";
  TModalAnswer answer(IDOK);
  Open(missing);
  ASSERT_EQ(answer.Count(), 1);
  // Far wider than the 400-pixel panel: centred, both ends would be cut.
  EXPECT_EQ(PanelShown(Form->StatusBar, 0), answer.Text());
  // The next run's phases are centred again.
  Open(PlainProject);
  EXPECT_EQ(PanelShown(Form->StatusBar, 0), "\tReady");
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
}

TEST_F(MainWindow, AUnitThatCannotBeOpenedLeavesADiagramThatWorks) {
  TTempDirectory dir("locked");
  const std::string project =
      dir.Write("Bills.dpr", {"program Bills;", "uses Clients, Factures, Taxes;", "begin", "end."});
  dir.Write("Clients.pas", {"unit Clients;", "interface", "implementation", "end."});
  const std::string locked =
      dir.Write("Factures.pas", {"unit Factures;", "interface", "uses Clients;", "implementation", "end."});
  dir.Write("Taxes.pas", {"unit Taxes;", "interface", "uses Clients;", "implementation", "end."});
  Form->Afficherlalistedesfichiers1Click();  // no files list in the way
  Open(project);
  ASSERT_TRUE(Errors.empty());

  // Another program holds the file open, without sharing.
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  std::string error;
  try {
    Form->Recharge1Click();
  } catch (const std::exception& e) {
    error = e.what();
  }
  CloseHandle(holder);
  Application.ProcessMessages();
  EXPECT_NE(error.find("Cannot open file"), std::string::npos) << error;
  EXPECT_NE(error.find("Factures"), std::string::npos) << error;
  EXPECT_EQ(Form->StatusBar.PanelText(0), "Ready");
  EXPECT_TRUE(Form->Redessinne1->Enabled());

  ASSERT_TRUE(FileArray);
  TFile* root = FileArray->Root;
  TFile* factures = UnitNamed("Factures");
  TFile* clients = UnitNamed("Clients");
  ASSERT_NE(factures, nullptr);
  ASSERT_NE(clients, nullptr);
  EXPECT_FALSE(factures->Found);
  // The picture is the model's: the project at the top right, the unit
  // that failed at the left among the units not found.
  auto expectComposed = [&] {
    EXPECT_EQ(FileArray->Items[FileArray->Count - 1], root);
    EXPECT_EQ(root->LabelRect.top, 0);
    EXPECT_EQ(root->LabelRect.right, Form->Metafile.Width);
    EXPECT_EQ(factures->LabelRect.left, 0);
    EXPECT_GT(factures->LabelRect.top, clients->LabelRect.top);
  };
  expectComposed();
  // Hovering names the unit, a click hides it, Redraw draws the same model.
  const POINT over = ImagePoint(Centre(root->LabelRect));
  SendMessageA(Form->Image.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(Form->Selected, root);
  EXPECT_EQ(Form->StatusBar.PanelText(1), "Bills");
  Click(ImagePoint(Centre(clients->LabelRect)), WM_LBUTTONDOWN, WM_LBUTTONUP);
  EXPECT_TRUE(clients->Hidden);
  Form->Redessinne1Click();
  Application.ProcessMessages();
  expectComposed();
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
