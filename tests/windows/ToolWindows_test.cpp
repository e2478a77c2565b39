// The tool's windows created as the IDE creates them, and the viewer and
// option windows that the main window opens: inspection, files list,
// simplification, welcome and about.
#include <algorithm>
#include <stdexcept>

#include "Draw.h"
#include "HostPath.h"
#include "LaterWindows.h"
#include "TextBlock.h"
#include "WindowsTestSupport.h"
#include "ufAProposDe.h"
#include "ufAccueil.h"
#include "ufAeration.h"
#include "ufListeFichiers.h"
#include "ufLocalisations.h"
#include "ufRepertoire.h"
#include "ufUnite.h"
#include "ufUnitsdebase.h"

namespace {

const std::string PlainProject = HostPath(USAGRAM_SAMPLES) + "\\Plain\\Plain.dpr";

// The captions of the forms created while the hook is installed, in order.
struct TCreationLog {
  static inline std::vector<std::string> Captions;
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
      char cls[64] = {};
      GetClassNameA(reinterpret_cast<HWND>(wp), cls, sizeof cls);
      const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
      if (std::string(cls) == "UsagramForm") Captions.push_back(cs->lpszName ? cs->lpszName : "");
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }
};

struct TSeesItself : TForm {
  static inline TSeesItself* Reference = nullptr;
  static inline bool SawItself = false;
  TSeesItself() : TForm(TFormParams{.Caption = "Sees itself"}) { SawItself = Reference == this; }
};

struct TFails : TForm {
  static inline TFails* Reference = nullptr;
  TFails() : TForm(TFormParams{.Caption = "Fails"}) { throw std::runtime_error("cannot build"); }
};

TEST(ToolWindows, CreatedOnceInTheIdesOrderWithTheirReferencesSetFirst) {
  Application.Initialize();
  CommandLineParameters.clear();
  TCreationLog::Captions.clear();
  HHOOK hook = SetWindowsHookExA(WH_CBT, &TCreationLog::Hook, nullptr, GetCurrentThreadId());
  CreateToolWindows();
  const std::vector<std::string> first = TCreationLog::Captions;
  const TForm* windows[] = {fUsagram, fUnitsdebase, fLocalisations, fAProposDe, fUnite,
                            fAeration, fAccueil,     fListeFichiers, fRepertoire};
  CreateToolWindows();  // a second call reuses them
  UnhookWindowsHookEx(hook);
  const std::vector<std::string> expected = {"",      "Basic units", "Locations", "About Usagram ...",
                                             "Unit",  "Diagram's simplification options",
                                             "Welcome", "Files list", "Directory selection"};
  EXPECT_EQ(first, expected);
  EXPECT_EQ(TCreationLog::Captions.size(), expected.size());
  const TForm* again[] = {fUsagram, fUnitsdebase, fLocalisations, fAProposDe, fUnite,
                          fAeration, fAccueil,     fListeFichiers, fRepertoire};
  EXPECT_TRUE(std::equal(std::begin(windows), std::end(windows), std::begin(again)));
  EXPECT_EQ(std::count(std::begin(windows), std::end(windows), nullptr), 0);
  FreeToolWindows();
  const TForm* after[] = {fUsagram, fUnitsdebase, fLocalisations, fAProposDe, fUnite,
                          fAeration, fAccueil,     fListeFichiers, fRepertoire};
  EXPECT_EQ(std::count(std::begin(after), std::end(after), nullptr), 9);

  // The reference is there while the constructor runs, and cleared when it fails.
  std::unique_ptr<TSeesItself> seen;
  CreateForm(TSeesItself::Reference, seen);
  EXPECT_TRUE(TSeesItself::SawItself);
  EXPECT_EQ(TSeesItself::Reference, seen.get());
  std::unique_ptr<TFails> failed;
  EXPECT_THROW(CreateForm(TFails::Reference, failed), std::runtime_error);
  EXPECT_EQ(TFails::Reference, nullptr);
  EXPECT_EQ(failed, nullptr);
  EXPECT_EQ(FindWindowA("UsagramForm", "Fails"), nullptr);
}

// The children of a tree node: text, image, and whether it is expanded.
struct TNode {
  std::string Text;
  int Image;
  bool Expanded;
  std::vector<TNode> Children;
  bool operator==(const TNode&) const = default;
};

std::vector<TNode> NodesOf(const TTreeView& tree, TTreeNode parent) {
  std::vector<TNode> nodes;
  for (TTreeNode n = tree.FirstChild(parent); n; n = tree.NextSibling(n))
    nodes.push_back({tree.NodeText(n), tree.NodeImage(n), tree.Expanded(n), NodesOf(tree, n)});
  return nodes;
}

std::vector<std::string> Items(const TListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
  return items;
}

std::vector<std::string> Names(const TFileArray* uses) {
  std::vector<std::string> names;
  for (int i = 0; uses && i < uses->Count; ++i) names.push_back(uses->Items[i]->Name);
  return names;
}

class ViewerWindows : public ToolWindowsTest {};

TEST_F(ViewerWindows, InspectListsBothClausesInOrderAndEmptiesThemForTheNext) {
  Open(PlainProject);
  TFile* main = UnitNamed("Main");
  ASSERT_NE(main, nullptr);
  ASSERT_GT(main->InterfaceUses->Count, 0);
  std::string caption;
  std::vector<std::string> interfaceUses, implementationUses;
  auto read = [&] {
    caption = fUnite->Caption();
    interfaceUses = Items(fUnite->lbInterface);
    implementationUses = Items(fUnite->lbImplementation);
    TModalAnswer::PostButton(fUnite->Handle(), IDOK);
  };
  fUsagram->Selected = main;
  EXPECT_EQ(Modal(*fUnite, [] { fUsagram->Inspecter1Click(); }, read), 1);
  EXPECT_EQ(caption, "Inspect - Main");
  EXPECT_EQ(interfaceUses, Names(main->InterfaceUses.get()));
  EXPECT_EQ(implementationUses, Names(main->ImplementationUses.get()));
  EXPECT_EQ(fUnite->lbInterface.ItemHeight(), 14);

  // A unit whose lists are empty shows two empty lists, not the last ones.
  std::unique_ptr<TFile> lonely(TFile::Unresolved("Lonely"));
  EXPECT_EQ(Modal(*fUnite, [&] { InspectUnit(*lonely); }, read), 1);
  EXPECT_EQ(caption, "Inspect - Lonely");
  EXPECT_TRUE(interfaceUses.empty());
  EXPECT_TRUE(implementationUses.empty());
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ViewerWindows, FilesListPutsEachLocationUnderItsRootWithItsFilesMarked) {
  TTempDirectory project("fileslist");
  project.Write("Proj.dpr", {"program Proj;", "uses A;", "begin", "end."});
  project.Write("A.pas", {"unit A;", "interface", "implementation", "end."});
  project.Write("B.pas", {"unit B;", "interface", "implementation", "end."});
  const std::string empty = project.Make("empty");
  Settings->WriteInteger(Reg::Locations, Reg::Count, 1);
  Settings->WriteString(Reg::Locations, std::string(Reg::Location) + "0", empty);
  Settings->WriteBool(Reg::Locations, std::string(Reg::LocationActive) + "0", true);

  // Offered by itself after the analysis, with its note.
  bool noteShown = false, treeFocused = false;
  std::vector<TNode> offered;
  auto read = [&] {
    noteShown = fListeFichiers->Memo.Visible();
    treeFocused = GetFocus() == fListeFichiers->TreeView.Handle();
    offered = NodesOf(fListeFichiers->TreeView, nullptr);
    fListeFichiers->BitBtn1.Click();
  };
  EXPECT_EQ(Modal(*fListeFichiers, [&] { Open(project / "Proj.dpr"); }, read), 1);
  EXPECT_TRUE(noteShown);
  EXPECT_TRUE(treeFocused);
  ASSERT_EQ(LocationCount, 2);
  // The files in the order the directory gave them: its units first.
  std::vector<TNode> files;
  std::vector<std::string> used, unused;
  const TLocation& current = *Locations[1];
  for (int f = 0; f < current.Files.Count(); ++f) {
    const std::string name = ExtractFileName(current.Files.Strings[f]);
    const bool isUsed = current.Files.Objects[f] != nullptr;
    files.push_back({name, isUsed ? fiUsedFile : fiUnusedFile, false, {}});
    (isUsed ? used : unused).push_back(name);
  }
  std::sort(used.begin(), used.end());
  EXPECT_EQ(used, (std::vector<std::string>{"A.pas", "Proj.dpr"}));
  EXPECT_EQ(unused, (std::vector<std::string>{"B.pas"}));
  EXPECT_EQ(files.back().Text, "Proj.dpr");
  const std::vector<TNode> expected = {
      {"Unused locations", fiLocation, false, {{empty, fiLocation, false, {}}}},
      {"Locations containing unused files", fiLocation, false, {{project.Path, fiLocation, false, files}}}};
  EXPECT_EQ(offered, expected);

  // From the Display menu: the same tree, collapsed again, without the note.
  fListeFichiers->TreeView.FullExpand();
  std::vector<TNode> asked;
  EXPECT_EQ(Modal(*fListeFichiers, [] { fUsagram->Listedesfichiers1Click(); },
                  [&] {
                    noteShown = fListeFichiers->Memo.Visible();
                    asked = NodesOf(fListeFichiers->TreeView, nullptr);
                    fListeFichiers->BitBtn1.Click();
                  }),
            1);
  EXPECT_FALSE(noteShown);
  EXPECT_EQ(asked, expected);

  // With "Display files list" unchecked the analysis offers nothing.
  fUsagram->Afficherlalistedesfichiers1Click();
  EXPECT_EQ(Modal(*fListeFichiers, [&] { Open(project / "Proj.dpr"); }, read), 0);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ViewerWindows, SimplificationBoxesComeFromTheStoreSteerTheDrawingAndGoBack) {
  FreeToolWindows();  // the window writes its boxes as it goes
  Settings->WriteBool(Reg::Simplification, Reg::Amont, false);
  Settings->WriteBool(Reg::Simplification, Reg::Doc, false);
  CreateToolWindows();
  TfAeration& w = *fAeration;
  EXPECT_EQ(w.Caption(), "Diagram's simplification options");
  EXPECT_FALSE(w.cbAmont.Checked());
  EXPECT_TRUE(w.cbAval.Checked());
  EXPECT_TRUE(w.cbVignette.Checked());
  EXPECT_FALSE(w.cbDoc.Checked());
  // The preview shows what an unchecked box keeps.
  auto preview = [&] {
    return std::vector<bool>{w.H1.Visible(), w.V1.Visible(), w.V2.Visible(), w.V3.Visible(),
                             w.Vi1.Visible(), w.Vi2.Visible(), w.doc.Visible()};
  };
  EXPECT_EQ(preview(), (std::vector<bool>{true, false, false, false, false, false, true}));
  EXPECT_EQ(SimplificationOptions(), (TSimplification{false, true, true, false}));

  // Clicked in the window, as a user does: the drawing reads the boxes at once.
  EXPECT_EQ(Modal(w, [] { fUsagram->Arationdudiagramme1Click(); },
                  [&] {
                    SendMessageA(w.cbVignette.Handle(), BM_CLICK, 0, 0);
                    SendMessageA(w.cbAmont.Handle(), BM_CLICK, 0, 0);
                    w.BitBtn1.Click();
                  }),
            1);
  EXPECT_EQ(preview(), (std::vector<bool>{false, false, false, false, true, true, true}));
  EXPECT_EQ(SimplificationOptions(), (TSimplification{true, true, false, false}));

  // Freed, the window writes its boxes; the drawing then reads the store.
  FreeToolWindows();
  EXPECT_EQ(Settings->ReadString(Reg::Simplification, Reg::Amont, "#"), "1");
  EXPECT_EQ(Settings->ReadString(Reg::Simplification, Reg::Aval, "#"), "1");
  EXPECT_EQ(Settings->ReadString(Reg::Simplification, Reg::Vignette, "#"), "0");
  EXPECT_EQ(Settings->ReadString(Reg::Simplification, Reg::Doc, "#"), "0");
  EXPECT_EQ(SimplificationOptions(), (TSimplification{true, true, false, false}));
}

// The paragraphs of a rich edit, without their breaks.
std::vector<std::string> Paragraphs(const TRichEdit& edit) {
  std::string text = edit.Text();
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\r', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

void ExpectTextBlock(TRichEdit& edit) {
  std::vector<std::string> expected;
  for (int i = 0; i < TextBlockLines; ++i) expected.push_back(TextBlockLine(i));
  EXPECT_EQ(Paragraphs(edit), expected);
  EXPECT_EQ(expected[0], "Usagram");
  EXPECT_EQ(expected[4].size(), 34u);
  EXPECT_EQ(edit.SelLength(), 0);
  int start = 0;
  for (int i = 0; i < TextBlockLines; ++i) {
    edit.SetSel(start + 1, 0);
    const TRichEdit::TSelAttributes a = edit.SelAttributes();
    EXPECT_EQ(edit.ParagraphAlignment(), taCenter) << i;
    EXPECT_EQ(a.Bold, i == 0 || i == 4) << i;
    EXPECT_EQ(a.Name, i == 4 ? "Courier New" : "Arial") << i;
    if (i == 4) {
      EXPECT_EQ(a.PointSize, 7);
    }
    start += static_cast<int>(expected[static_cast<size_t>(i)].size()) + 1;
  }
}

TEST_F(ViewerWindows, WelcomeStaysItsFiveSecondsThenEndsTheProgramAfterTheFirstClose) {
  TfAccueil& w = *fAccueil;
  // Shown with the main window.
  ASSERT_TRUE(w.Visible());
  EXPECT_TRUE(w.Timer.Enabled());
  EXPECT_EQ(w.Timer.Interval(), 5000u);
  EXPECT_EQ(w.ClientWidth(), 373);
  EXPECT_EQ(w.ClientHeight(), 229);
  EXPECT_TRUE(GetWindowLongA(w.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ExpectTextBlock(w.RichEdit);
  auto tick = [&] { SendMessageA(w.Handle(), WM_TIMER, w.Timer.Id(), 0); };

  SendMessageA(w.Handle(), WM_CLOSE, 0, 0);  // not during its five seconds
  EXPECT_TRUE(w.Visible());
  tick();
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(fUsagram->Visible());  // only the start: nothing closes

  // Inside the IDE the first close hides the main window once the time is up.
  ExpertMode = true;
  SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(ClosingShown);
  EXPECT_TRUE(fUsagram->Visible());
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.Timer.Enabled());
  SendMessageA(w.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.Visible());
  tick();
  EXPECT_FALSE(w.Visible());
  EXPECT_FALSE(fUsagram->Visible());
  EXPECT_FALSE(Application.Terminated);

  // Outside the IDE it ends the program.
  ExpertMode = false;
  ClosingShown = false;
  fUsagram->Show();
  SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(Application.Terminated);
  tick();
  EXPECT_TRUE(Application.Terminated);
  ExpectTextBlock(w.RichEdit);  // filled once, at the first showing
}

TEST_F(ViewerWindows, AboutShowsTheTextBlockAfreshEachTime) {
  for (int time = 0; time < 2; ++time) {
    bool checked = false;
    EXPECT_EQ(Modal(*fAProposDe, [] { fUsagram->Aproposde1Click(); },
                    [&] {
                      ExpectTextBlock(fAProposDe->RichEdit);
                      checked = true;
                      fAProposDe->BitBtn1.Click();
                    }),
              1);
    EXPECT_TRUE(checked);
  }
  EXPECT_EQ(fAProposDe->Caption(), "About Usagram ...");
  EXPECT_EQ(fAProposDe->Width(), 452);
  EXPECT_EQ(fAProposDe->Height(), 291);
  EXPECT_NE(fAProposDe->Label2.Text().find("support@usagram.example"), std::string::npos);
}

// Set when the about window was still up long after Enter was typed.
bool AboutOutlivedEnter = false;

TEST_F(ViewerWindows, EnterInTheAboutTextPressesOk) {
  AboutOutlivedEnter = false;
  HWND focused = nullptr;
  EXPECT_EQ(Modal(*fAProposDe, [] { fUsagram->Aproposde1Click(); },
                  [&] {
                    fAProposDe->RichEdit.SetFocus();
                    focused = GetFocus();
                    PostMessageA(focused, WM_KEYDOWN, VK_RETURN, 1);
                    PostMessageA(focused, WM_CHAR, '\r', 1);
                    PostMessageA(focused, WM_KEYUP, VK_RETURN, 0xC0000001);
                    // Should Enter do nothing, the window still goes, and the test says so.
                    SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
                      KillTimer(nullptr, id);
                      if (!fAProposDe->Visible()) return;
                      AboutOutlivedEnter = true;
                      fAProposDe->BitBtn1.Click();
                    });
                  }),
            1);
  EXPECT_EQ(focused, fAProposDe->RichEdit.Handle());
  EXPECT_FALSE(AboutOutlivedEnter);
  EXPECT_EQ(fAProposDe->ModalResult, mrOk);
  EXPECT_FALSE(fAProposDe->Visible());
  // The text is read-only: Enter added no line to it.
  ExpectTextBlock(fAProposDe->RichEdit);
}

}  // namespace
