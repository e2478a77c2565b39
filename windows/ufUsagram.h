// The main window: opens a project, shows its diagram, lets the user hide
// labels and zoom, and reaches every other command through its menus.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "Banner.h"
#include "ComCtrls.h"
#include "Compose.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "Metafile.h"
#include "StdCtrls.h"

class TFile;

// The library runs as the IDE's expert (set before the windows are created).
extern bool ExpertMode;
// The first close request of the library's lifetime has been answered.
extern bool ClosingShown;
// The program's command-line parameters, without the program itself.
extern std::vector<std::string> CommandLineParameters;

class TfUsagram : public TForm, public TDiagramHost {
 public:
  TfUsagram();
  ~TfUsagram() override;

  // Components, in the order of the form.
  TPanel Panel1, Panel2;
  TLabel L1, L2, L3, L4;
  TLabel* const BannerLabels[BannerCount] = {&L1, &L2, &L3, &L4};  // in their scrolling order
  TScrollBox ScrollBox;
  TImage Image;
  TStatusBar StatusBar;
  TMainMenu MainMenu1;
  TPopupMenu PopupMenu;
  TTimer Timer{*this, 100, false};
  TOpenDialog OpenDialog;
  TSaveDialog SaveEMF, SaveDOC;
  TPrintDialog PrintDialog;
  TPrinterSetupDialog PrinterSetupDialog;

  // Menu items, by their component names (the rows of the menu tables).
  TMenuItem *Fichier1, *Ouvrir1, *Sauver1, *Imprimante1, *Imprimer1, *Quitter1;
  TMenuItem *Edition1, *Copier1, *GnrerunedocumentationsousWord1;
  TMenuItem *Affichage1, *x21, *N21, *Tailledelafentre1, *Listedesfichiers1;
  TMenuItem *Recharge1, *Redessinne1;
  TMenuItem *Options1, *Unitsdebase1, *Localisations1, *Arationdudiagramme1, *Afficherlalistedesfichiers1,
      *RglagePortraitPaysageautomatiquedelimpression1, *Rpertoiredimagespourladocumentation1,
      *InstallerdansBorlandDelphicommeoutil1, *Word, *Unitscopenames1;
  TMenuItem *Aide1, *Rubriquesdaide1, *Aproposde1, *Rapportdebogue1, *Quorvel1;
  TMenuItem *Zoomx21, *Zoom21, *truc1, *Inspecter1, *Editer1, *Rapportdebogue2;

  // State of the current diagram.
  bool AutoOpen = false;
  TMetafile Metafile;
  POINT ClickPoint{0, 0};
  TFile* Selected = nullptr;
  bool FirstShow = true;

  // The main and popup menus as tables, in their order.
  static std::span<const TMenuDef<TfUsagram>> MainMenuTable();
  static std::span<const TMenuDef<TfUsagram>> PopupMenuTable();

  // Analyses the project of OpenDialog.FileName and composes its diagram.
  void LoadProject();
  // Every item of the main and popup menus, two levels deep.
  void EnableMenus(bool enabled) override;
  // Before any diagram: File, Open, Quit and Help only.
  void IdleMenus();

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormPaint();
  void FormHide();
  void FormCloseQuery(bool& canClose);
  void FormDestroy();
  void TimerTimer();
  void ImageMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void ImageMouseMove(TShiftState shift, int x, int y);
  void Ouvrir1Click();
  void Sauver1Click();
  void Imprimante1Click();
  void Imprimer1Click();
  void Quitter1Click();
  void Copier1Click();
  void GnrerunedocumentationsousWord1Click();
  void x21Click();
  void N21Click();
  void Tailledelafentre1Click();
  void Listedesfichiers1Click();
  void Recharge1Click();
  void Redessinne1Click();
  void Unitsdebase1Click();
  void Localisations1Click();
  void Arationdudiagramme1Click();
  void Afficherlalistedesfichiers1Click();
  void RglagePortraitPaysageautomatiquedelimpression1Click();
  void Rpertoiredimagespourladocumentation1Click();
  void InstallerdansBorlandDelphicommeoutil1Click();
  void WordClick();
  void Unitscopenames1Click();
  void Rubriquesdaide1Click();
  void Aproposde1Click();
  void Rapportdebogue1Click();
  void Quorvel1Click();
  void Inspecter1Click();
  void Editer1Click();

  // The unit under an image point; sets Selected and the unit's name in the
  // status bar. False when there is none (or work is running).
  bool HitTest(int x, int y);
  // Smallest and largest image side the zoom commands allow.
  static constexpr int MinImageSide = 1;
  static constexpr int MaxImageSide = 32000;

  // TDiagramHost: the composition's side in this window.
  void SetHourglass(bool busy) override;
  void StopTimer() override;
  void StartTimer() override;
  void ShowMetafile(const TMetafile& metafile) override;
  void Invalidate() override;
  HWND ClipboardOwner() override { return Handle(); }

 protected:
  // The end of the Windows session records the program for a restart.
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateComponents();
  void CreateMenus();
  void PlaceBanner();
  void ZoomBy(int numerator, int denominator, bool yieldFirst);
  HCURSOR previousCursor_ = nullptr;
};

// The main window while it exists; the status texts go to it.
extern TfUsagram* fUsagram;

// The help file, beside this program, or beside the library inside the IDE
// (not beside the IDE).
std::string HelpFileBesideProgram();
