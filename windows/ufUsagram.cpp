#include "ufUsagram.h"

#include <cstdlib>
#include <exception>
#include <memory>

#include "Analysis.h"
#include "Banner.h"
#include "Globales.h"
#include "HtmlHelp.h"
#include "LaterWindows.h"
#include "Layout.h"
#include "Messages.h"
#include "Module.h"
#include "Output.h"
#include "ScopeExit.h"
#include "ufEditeur.h"
#include "Settings.h"
#include "Units.h"
#include "WindowHooks.h"
#include "Yield.h"
#include "uChaines.h"

bool ExpertMode = false;
bool ClosingShown = false;
TfUsagram* fUsagram = nullptr;
std::vector<std::string> CommandLineParameters = [] {
  std::vector<std::string> parameters;
  for (int i = 1; i < __argc; ++i) parameters.emplace_back(__argv[i]);
  return parameters;
}();

namespace {

constexpr const char* OpenFilter =
    "*.DPR ; *.DPK ; *.LPR - Delphi and Free Pascal projects and packages|*.dpr;*.dpk;*.lpr|"
    "*.PAS - Pascal files |*.pas|"
    "*.DPR ; *.DPK ; *.LPR ; *.PAS - All pascal files|*.dpr;*.dpk;*.lpr;*.pas|*.* All files|*.*";
constexpr const char* PicturesDirectoryTitle = "Directory of pictures for document";

void StatusPanel0(const std::string& text) {
  if (fUsagram) fUsagram->SetStatusPanel(0, text);
}
void StatusPanel1(const std::string& text) {
  if (fUsagram) fUsagram->SetStatusPanel(1, text);
}

std::string WordCaption() { return MSWord95 ? "Microsoft &Word 97 (tm)" : "Microsoft &Word 95 (tm)"; }

}  // namespace

TfUsagram::TfUsagram()
    : TForm(TFormParams{.Caption = {}, .ClientWidth = 632, .ClientHeight = 434, .HelpContext = 1}) {
  fUsagram = this;
  ShowHint = true;
  CreateComponents();
  CreateMenus();
  SetStatusHooks(StatusPanel0, StatusPanel1);
  OnShow = [this] { FormShow(); };
  OnHide = [this] { FormHide(); };
  OnPaint = [this](HDC) { FormPaint(); };
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  OnDestroy = [this] { FormDestroy(); };
  OnCreate = [this] { FormCreate(); };
  FinishCreate();
}

TfUsagram::~TfUsagram() {
  // FormDestroy reads the menu items: destroy the window while they exist.
  DestroyHandle();
  SetStatusHooks(nullptr, nullptr);
  if (fUsagram == this) fUsagram = nullptr;
}

void TfUsagram::CreateComponents() {
  TFont banner;
  banner.Name = "Times New Roman";
  banner.Color = clRed;
  banner.Height = 16;
  Panel1.Create(*this, {0, 0, 632, 33});
  Panel1.SetAlign(alTop);
  Panel1.SetFont(banner);
  Panel2.Create(Panel1, {1, 1, 630, 31});
  Panel2.SetBevelOuter(bvNone);
  Panel2.SetAlign(alClient);
  for (TLabel* label : BannerLabels) label->Create(Panel2, 0, 4, "");

  ScrollBox.Create(*this, {0, 33, 632, 381});
  ScrollBox.SetAlign(alClient);
  Image.Create(ScrollBox, {0, 0, ScrollBox.ClientWidth(), ScrollBox.ClientHeight()});
  Image.SetAlign(alClient);
  Image.SetStretch(true);
  Image.OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y) { ImageMouseDown(b, s, x, y); };
  Image.OnMouseMove = [this](TShiftState s, int x, int y) { ImageMouseMove(s, x, y); };

  TFont status;
  status.Name = "Courier New";
  status.Height = 13;
  StatusBar.Create(*this);
  StatusBar.SetFont(status);
  StatusBar.SetPanels({{400, taCenter, {}}, {400, taCenter, {}}});

  Timer.OnTimer = [this] { TimerTimer(); };

  OpenDialog.Filter = OpenFilter;
  OpenDialog.FilterIndex = 3;
  SaveEMF.Title = "Save diagram picture";
  SaveEMF.Filter = "*.EMF - Enhanced Windows Metafile|*.EMF";
  SaveEMF.DefaultExt = "EMF";
  SaveEMF.Options = ofOverwritePrompt | ofHideReadOnly | ofPathMustExist;
  SaveDOC.Title = "Save document";
  SaveDOC.Filter = "*.DOC - Word document|*.DOC";
  SaveDOC.DefaultExt = "DOC";
  SaveDOC.Options = ofOverwritePrompt | ofHideReadOnly | ofPathMustExist;
}

// The two menus, one row per item: the system's name, its caption, shortcut
// and handler, and the member that reaches it. The popup repeats three
// commands of the Display menu and the bug report of Help.
namespace {

using F = TfUsagram;
constexpr TMenuDef<F> MainMenuDefs[] = {
    {mlTop, "Fichier1", "&File", 0, nullptr, &F::Fichier1},
    {mlSub, "Ouvrir1", "&Open", Ctrl('O'), &F::Ouvrir1Click, &F::Ouvrir1},
    {mlSub, "Sauver1", "&Save", Ctrl('S'), &F::Sauver1Click, &F::Sauver1},
    {mlSub, "Exportergraphe1", "&Export graph...", 0, &F::Exportergraphe1Click, &F::Exportergraphe1},
    {mlSub, "Imprimante1", "P&rinter", 0, &F::Imprimante1Click, &F::Imprimante1},
    {mlSub, "Imprimer1", "&Print", Ctrl('P'), &F::Imprimer1Click, &F::Imprimer1},
    {mlSub, "Quitter1", "&Quit", Ctrl('Q'), &F::Quitter1Click, &F::Quitter1},
    {mlTop, "Edition1", "&Edit", 0, nullptr, &F::Edition1},
    {mlSub, "Copier1", "&Copy", Ctrl('C'), &F::Copier1Click, &F::Copier1},
    {mlSub, "GnrerunedocumentationsousWord1", "&Generate a document with Microsoft Word(tm)", Ctrl('G'),
     &F::GnrerunedocumentationsousWord1Click, &F::GnrerunedocumentationsousWord1},
    {mlTop, "Affichage1", "&Display", 0, nullptr, &F::Affichage1},
    {mlSub, "x21", "Zoom &x 2", Ctrl('I'), &F::x21Click, &F::x21},
    {mlSub, "N21", "Zoom &/ 2", Ctrl('U'), &F::N21Click, &F::N21},
    {mlSub, "Tailledelafentre1", "&Window size", Ctrl('A'), &F::Tailledelafentre1Click, &F::Tailledelafentre1},
    {mlSub, "Listedesfichiers1", "&Files list", 0, &F::Listedesfichiers1Click, &F::Listedesfichiers1},
    {mlSub, "Cycles1", "&Cycles...", 0, &F::Cycles1Click, &F::Cycles1},
    {mlTop, "Recharge1", "&Reload !", 0, &F::Recharge1Click, &F::Recharge1},
    {mlTop, "Redessinne1", "Re&draw !", 0, &F::Redessinne1Click, &F::Redessinne1},
    {mlTop, "Options1", "&Options", 0, nullptr, &F::Options1},
    {mlSub, "Unitsdebase1", "&Basic units", 0, &F::Unitsdebase1Click, &F::Unitsdebase1},
    {mlSub, "Localisations1", "&Locations", 0, &F::Localisations1Click, &F::Localisations1},
    {mlSub, "Arationdudiagramme1", "&Diagram simplification", 0, &F::Arationdudiagramme1Click,
     &F::Arationdudiagramme1},
    {mlSub, "Afficherlalistedesfichiers1", "Display &files list", 0, &F::Afficherlalistedesfichiers1Click,
     &F::Afficherlalistedesfichiers1},
    {mlSub, "RglagePortraitPaysageautomatiquedelimpression1", "Automatic &Portrait/Landscape printer setting", 0,
     &F::RglagePortraitPaysageautomatiquedelimpression1Click, &F::RglagePortraitPaysageautomatiquedelimpression1},
    {mlSub, "Rpertoiredimagespourladocumentation1", PicturesDirectoryTitle, 0,
     &F::Rpertoiredimagespourladocumentation1Click, &F::Rpertoiredimagespourladocumentation1},
    {mlSub, "InstallerdansBorlandDelphicommeoutil1", "&Install in Borland &Delphi(tm) as Tool", 0,
     &F::InstallerdansBorlandDelphicommeoutil1Click, &F::InstallerdansBorlandDelphicommeoutil1},
    // The caption names the other version (WordCaption); MSWord95 is set by default.
    {mlSub, "Word", "Microsoft &Word 97 (tm)", 0, &F::WordClick, &F::Word},
    {mlSub, "Unitscopenames1", "Unit &scope names", 0, &F::Unitscopenames1Click, &F::Unitscopenames1},
    {mlTop, "Aide1", "&Help", 0, nullptr, &F::Aide1},
    {mlSub, "Rubriquesdaide1", "&Contents", 0, &F::Rubriquesdaide1Click, &F::Rubriquesdaide1},
    {mlSub, "Aproposde1", "&About ...", 0, &F::Aproposde1Click, &F::Aproposde1},
    {mlSub, "Rapportdebogue1", "&Bug report", 0, &F::Rapportdebogue1Click, &F::Rapportdebogue1},
    {mlSub, "Quorvel1", "Quorvel", 0, &F::Quorvel1Click, &F::Quorvel1},
};

constexpr TMenuDef<F> PopupMenuDefs[] = {
    {mlTop, "Zoomx21", "Zoom x2", 0, &F::x21Click, &F::Zoomx21},
    {mlTop, "Zoom21", "Zoom /2", 0, &F::N21Click, &F::Zoom21},
    {mlTop, "truc1", "Window size", 0, &F::Tailledelafentre1Click, &F::truc1},
    {mlTop, "Inspecter1", "Inspect", 0, &F::Inspecter1Click, &F::Inspecter1},
    {mlTop, "Editer1", "Edit", 0, &F::Editer1Click, &F::Editer1},
    {mlTop, "Rapportdebogue2", "Bug report", 0, &F::Rapportdebogue1Click, &F::Rapportdebogue2},
};

}  // namespace

std::span<const TMenuDef<TfUsagram>> TfUsagram::MainMenuTable() { return MainMenuDefs; }
std::span<const TMenuDef<TfUsagram>> TfUsagram::PopupMenuTable() { return PopupMenuDefs; }

void TfUsagram::CreateMenus() {
  BuildMenu(MainMenu1, *this, MainMenuTable());
  BuildMenu(PopupMenu, *this, PopupMenuTable());
  Word->SetCaption(WordCaption());
  SetMenu(&MainMenu1);
  AddPopupMenu(&PopupMenu);
}

// ---- Life of the window ------------------------------------------------------

void TfUsagram::FormCreate() {
  // The restart entry written at logoff has done its work once we run.
  if (WindowHooks.ForgetRestart) WindowHooks.ForgetRestart();

  SetCaption(PadRight(Msg::TitlePrefix, 255, '#'));
  if (!CommandLineParameters.empty() && !ExpertMode) {
    // Expanded now: the analysis makes the project's directory current.
    OpenDialog.FileName = ExpandFileName(CommandLineParameters.front());
    AutoOpen = true;
    SetCaption(Msg::TitlePrefix + OpenDialog.FileName);
  } else {
    OpenDialog.FileName.clear();
    AutoOpen = false;
  }

  Image.SetBounds(0, 0, ScrollBox.ClientWidth(), ScrollBox.ClientHeight());
  ClickPoint = {0, 0};

  if (Settings) {
    // Never answered: the item stays unchecked until the first print asks.
    RglagePortraitPaysageautomatiquedelimpression1->SetChecked(Reg::ReadAutoOrientation(*Settings) ==
                                                               Reg::TAutoOrientation::On);
    Afficherlalistedesfichiers1->SetChecked(Reg::ReadFilesList(*Settings));
  } else {
    Afficherlalistedesfichiers1->SetChecked(true);
  }
  Word->SetCaption(WordCaption());
  FirstShow = true;
}

void TfUsagram::PlaceBanner() {
  int left = 0;
  for (int i = 0; i < BannerCount; ++i) {
    BannerLabels[i]->SetText(BannerText(i));
    BannerLabels[i]->SetShowAccelChar(false);
    BannerLabels[i]->SetLeft(left);
    left += BannerLabels[i]->Width();
  }
}

void TfUsagram::FormShow() {
  if (!FirstShow) return;
  if (!WindowHooks.CreateBugReportWindow || !WindowHooks.CreateBugReportWindow()) {
    Rapportdebogue1->SetVisible(false);
    Rapportdebogue2->SetVisible(false);
  }
  ShowWelcome(false);
  PlaceBanner();
  Timer.SetEnabled(true);
  InstallerdansBorlandDelphicommeoutil1->SetVisible(!ExpertMode && WindowHooks.InstallAsDelphiTool);
  IdleMenus();
  FirstShow = false;
}

void TfUsagram::TimerTimer() {
  Timer.SetEnabled(false);
  for (int i = 0; i < BannerCount; ++i) {
    TLabel& label = *BannerLabels[i];
    label.SetLeft(label.Left() - 1);
    if (label.Left() + label.Width() <= 0) {
      const TLabel& before = *BannerLabels[(i + BannerCount - 1) % BannerCount];
      label.SetLeft(before.Left() + before.Width());
    }
  }
  ProcessMessages();
  Timer.SetEnabled(true);
}

void TfUsagram::FormPaint() {
  if (!AutoOpen) return;
  Timer.SetEnabled(false);
  AutoOpen = false;
  LoadProject();
  ValidateRect(Handle(), nullptr);
  Timer.SetEnabled(true);
}

void TfUsagram::FormHide() { Timer.SetEnabled(false); }

void TfUsagram::FormCloseQuery(bool& canClose) {
  // Ending the program would lose what the editors hold: each asks first.
  if (!ExpertMode && !CloseAllEditors()) {
    canClose = false;
    return;
  }
  if (ClosingShown) return;
  ClosingShown = true;
  canClose = false;
  ShowWelcome(true);
}

void TfUsagram::FormDestroy() {
  Metafile.Clear();
  // Inside the IDE the shared store may already be gone.
  std::unique_ptr<TRegIniFile> own;
  TRegIniFile* store = Settings.get();
  if (ExpertMode || !store) {
    own = std::make_unique<TRegIniFile>(Reg::ProductKey);
    store = own.get();
  }
  const bool automatic = RglagePortraitPaysageautomatiquedelimpression1->Checked();
  // An unanswered print question stays pending until the item is set.
  if (automatic || Reg::ReadAutoOrientation(*store) != Reg::TAutoOrientation::NotSet)
    Reg::WriteAutoOrientation(*store, automatic);
  Reg::WriteFilesList(*store, Afficherlalistedesfichiers1->Checked());
}

LRESULT TfUsagram::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ENDSESSION) {
    // Only when the session really ends: a logoff that was cancelled must not
    // leave a record that restarts the program at some later logon.
    if (wp && WindowHooks.RememberForRestart) WindowHooks.RememberForRestart(OpenDialog.FileName);
    return 0;
  }
  return TForm::WndProc(msg, wp, lp);
}

// ---- Menus -------------------------------------------------------------------

void TfUsagram::EnableMenus(bool enabled) {
  for (TMenu* menu : {static_cast<TMenu*>(&MainMenu1), static_cast<TMenu*>(&PopupMenu)}) {
    TMenuItem& root = menu->Items();
    for (int i = 0; i < root.Count(); ++i) {
      TMenuItem* item = root.Items(i);
      item->SetEnabled(enabled);
      for (int j = 0; j < item->Count(); ++j) item->Items(j)->SetEnabled(enabled);
    }
  }
}

void TfUsagram::IdleMenus() {
  EnableMenus(false);
  for (TMenuItem* item : {Fichier1, Ouvrir1, Quitter1, Aide1}) item->SetEnabled(true);
  for (int i = 0; i < Aide1->Count(); ++i) Aide1->Items(i)->SetEnabled(true);
}

// ---- Analysis ----------------------------------------------------------------

void TfUsagram::LoadProject() {
  if (Analysing || Composing) return;
  EnableMenus(false);
  Analysing = true;
  Timer.SetEnabled(false);
  SetHourglass(true);
  Selected = nullptr;  // the units of the previous run are about to go
  // Every run makes the project's directory current: a relative name would
  // name another file the next time.
  OpenDialog.FileName = ExpandFileName(OpenDialog.FileName);
  const std::string path = OpenDialog.FileName;
  TProjectOutcome outcome = TProjectOutcome::Analysed;
  {
    const TScopeExit end([this] {  // whatever happens
      Timer.SetEnabled(true);
      Analysing = false;
      SetHourglass(false);
      EnableMenus(true);
      SetStatus(Msg::StatusReady);
    });
    std::exception_ptr failure;
    try {
      outcome = AnalyseProjectFile(path);
    } catch (...) {
      // The model is what was read before the error: the picture, the mouse
      // and Redraw must all show that one, not the previous run's.
      failure = std::current_exception();
      SalvageInterruptedRun();
    }
    ComposeDiagram(*this, Metafile);
    SetCaption(Msg::TitlePrefix + path);
    if (failure) std::rethrow_exception(failure);
  }
  // The run has warned; the status bar keeps what went wrong in sight.
  if (outcome != TProjectOutcome::Analysed) SetStatusPanel(0, ProjectProblemText(outcome, path), taLeftJustify);
  if (const std::string dropped = DroppedEntriesText(); !dropped.empty())
    SetStatusPanel(1, dropped, taLeftJustify);
  else if (outcome == TProjectOutcome::Analysed)
    ShowCyclesNote();
  // Only after a run that went through: an error has left by now.
  if (outcome == TProjectOutcome::Analysed && CountUnusedFiles() > 0 && FileArray && FileArray->Root && !FileArray->Root->IsUnit &&
      Afficherlalistedesfichiers1->Checked())
    OfferFilesList();
}

void TfUsagram::SetStatusPanel(int panel, const std::string& text, TAlignment alignment) {
  if (panel < 0 || panel > 1 || panelAlignment_[panel] == alignment) {
    StatusBar.SetPanelText(panel, text);
    return;
  }
  panelAlignment_[panel] = alignment;
  std::vector<TStatusPanel> panels;
  for (int i = 0; i < 2; ++i)
    panels.push_back({400, panelAlignment_[i], i == panel ? text : StatusBar.PanelText(i)});
  StatusBar.SetPanels(panels);
}

// ---- The diagram's host ------------------------------------------------------

void TfUsagram::SetHourglass(bool busy) {
  if (busy) {
    previousCursor_ = Screen.Cursor();
    Screen.SetCursor(LoadCursor(nullptr, IDC_WAIT));
  } else {
    Screen.SetCursor(previousCursor_);
  }
}

void TfUsagram::StopTimer() { Timer.SetEnabled(false); }
void TfUsagram::StartTimer() { Timer.SetEnabled(true); }

void TfUsagram::ShowMetafile(const TMetafile& metafile) {
  Image.SetMetafile(metafile.Handle());  // the image keeps a copy of its own
}

void TfUsagram::Invalidate() {
  TForm::Invalidate();
  Image.Invalidate();
}

// ---- Mouse -------------------------------------------------------------------

bool TfUsagram::HitTest(int x, int y) {
  if (!FileArray || Analysing || Composing || Image.Width() <= 0 || Image.Height() <= 0) {
    Selected = nullptr;
    return false;
  }
  const POINT point{MulDiv(x, Metafile.Width, Image.Width()), MulDiv(y, Metafile.Height, Image.Height())};
  Selected = UnitAt(*FileArray, point);
  SetStatusPanel(1, Selected ? Selected->Name : std::string());
  return Selected != nullptr;
}

void TfUsagram::ImageMouseMove(TShiftState, int x, int y) { HitTest(x, y); }

void TfUsagram::ImageMouseDown(TMouseButton button, TShiftState, int x, int y) {
  if (!HitTest(x, y)) return;
  if (button == mbLeft) {
    Selected->Hidden = !Selected->Hidden;
    ComposeDiagram(*this, Metafile);
  } else if (button == mbRight) {
    ClickPoint = {x, y};
    Inspecter1->SetVisible(Selected->Found);
    Editer1->SetVisible(Selected->Found);
    POINT screen{x, y};
    ClientToScreen(Image.Handle(), &screen);
    PopupMenu.Popup(*this, screen.x, screen.y);
  }
}

// ---- Zoom --------------------------------------------------------------------

void TfUsagram::ZoomBy(int numerator, int denominator, bool yieldFirst) {
  const int oldWidth = Image.Width(), oldHeight = Image.Height();
  const long long width = 1LL * oldWidth * numerator / denominator;
  const long long height = 1LL * oldHeight * numerator / denominator;
  // Beyond these the image would vanish or exceed what a window can be.
  if (width < MinImageSide || height < MinImageSide || width > MaxImageSide || height > MaxImageSide) return;
  Image.SetAlign(alNone);
  Image.SetBounds(Image.Left(), Image.Top(), static_cast<int>(width), static_cast<int>(height));
  if (yieldFirst) ProcessMessages();
  if (oldWidth > 0) ScrollBox.SetHorzPosition(MulDiv(ClickPoint.x, ScrollBox.HorzRange(), oldWidth) - ScrollBox.Width() / 2);
  if (oldHeight > 0) ScrollBox.SetVertPosition(MulDiv(ClickPoint.y, ScrollBox.VertRange(), oldHeight) - ScrollBox.Height() / 2);
}

void TfUsagram::x21Click() { ZoomBy(2, 1, true); }
void TfUsagram::N21Click() { ZoomBy(1, 2, false); }

void TfUsagram::Tailledelafentre1Click() {
  ScrollBox.SetHorzPosition(0);
  ScrollBox.SetVertPosition(0);
  Image.SetAlign(alClient);
}

// ---- Commands ----------------------------------------------------------------

void TfUsagram::Ouvrir1Click() {
  if (OpenDialog.Execute(Handle())) LoadProject();
}

void TfUsagram::Sauver1Click() {
  if (Metafile.Empty()) return;
  SaveEMF.FileName = ProposedEmfName(OpenDialog.FileName);
  if (SaveEMF.Execute(Handle()) && !Metafile.SaveToFile(SaveEMF.FileName))
    throw std::runtime_error("The diagram cannot be written to " + SaveEMF.FileName + ".");
}

void TfUsagram::Imprimante1Click() { PrinterSetupDialog.Execute(Handle()); }

void TfUsagram::Imprimer1Click() {
  if (Metafile.Empty() || !PrintDialog.Execute(Handle())) return;
  TGlobalLock<DEVMODEA> devMode(Printer().DevMode().Get());
  TCreatedDC printer = Printer().CreatePrinterDC();
  auto ask = [] {
    return ShowMessageBox(
               "Do you want that Usagram sets automatically Portrait/Landscape option according to the diagram's "
               "shape you want to print ?",
               "Question", MB_YESNO | MB_ICONQUESTION) == IDYES;
  };
  // The check mark as it is now decides (the question is asked only when it
  // never was), and shows the answer afterwards.
  bool automatic = RglagePortraitPaysageautomatiquedelimpression1->Checked();
  const bool printed = printer && PrintDiagram(printer, devMode.Get(), Metafile, Caption(), ask, automatic);
  RglagePortraitPaysageautomatiquedelimpression1->SetChecked(automatic);
  if (!printed) throw std::runtime_error("The diagram could not be printed.");
}

void TfUsagram::Quitter1Click() { Close(); }

void TfUsagram::Copier1Click() {
  if (Metafile.Empty()) return;
  TMetafile sized;
  auto ask = [](const std::string& prompt, std::string& answer) {
    return InputQuery(Msg::AppCaption, prompt, answer);
  };
  if (CopyDiagram(Handle(), Metafile, ask, &sized) && !sized.Empty()) Image.SetMetafile(sized.Handle());
}

void TfUsagram::GnrerunedocumentationsousWord1Click() {
  if (Analysing || Composing) return;
  if (!GenerateDocument(*this, Metafile)) ReportNoDocumentGenerator();
}

void TfUsagram::Listedesfichiers1Click() { ShowFilesList(false); }
void TfUsagram::Recharge1Click() { LoadProject(); }
void TfUsagram::Redessinne1Click() { ComposeDiagram(*this, Metafile); }

void TfUsagram::Unitsdebase1Click() {
  if (ExecuteBasicUnitsEditor()) LoadProject();
}

void TfUsagram::Localisations1Click() {
  if (ExecuteLocationsEditor()) LoadProject();
}

void TfUsagram::Unitscopenames1Click() {
  if (ExecuteScopeNamesEditor()) LoadProject();
}

void TfUsagram::Arationdudiagramme1Click() { ExecuteSimplification(); }

void TfUsagram::Afficherlalistedesfichiers1Click() {
  Afficherlalistedesfichiers1->SetChecked(!Afficherlalistedesfichiers1->Checked());
}

void TfUsagram::RglagePortraitPaysageautomatiquedelimpression1Click() {
  auto* item = RglagePortraitPaysageautomatiquedelimpression1;
  item->SetChecked(!item->Checked());
}

void TfUsagram::Rpertoiredimagespourladocumentation1Click() {
  std::string directory = ImagesDirectory;
  if (ExecuteDirectoryWindow(PicturesDirectoryTitle, directory)) ImagesDirectory = directory;
}

void TfUsagram::InstallerdansBorlandDelphicommeoutil1Click() {
  if (WindowHooks.InstallAsDelphiTool) WindowHooks.InstallAsDelphiTool();
}

void TfUsagram::WordClick() {
  MSWord95 = !MSWord95;
  Word->SetCaption(WordCaption());
}

void TfUsagram::Rubriquesdaide1Click() { Application.HelpContents(); }
void TfUsagram::Aproposde1Click() { ShowAbout(); }
void TfUsagram::Rapportdebogue1Click() {
  if (WindowHooks.ShowBugReport) WindowHooks.ShowBugReport();
}
void TfUsagram::Quorvel1Click() { HtmlHelp::ShowPage(Application.HelpCaller(), HelpFileBesideProgram(HelpFiles::Quorvel)); }

void TfUsagram::Inspecter1Click() {
  if (Selected && Selected->Found) InspectUnit(*Selected);
}

void TfUsagram::Editer1Click() {
  if (Selected && Selected->Found) EditUnit(*Selected);
}

std::string HelpFileBesideProgram(const std::string& name) { return ExtractFilePath(ModuleFileName(ThisModule())) + name; }
