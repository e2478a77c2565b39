// The installer's window: its controls, its start and the reading pass. What
// the boxes do when clicked, and what closing does, is in ufInstallActions.cpp.
#include "ufInstall.h"

#include "FindFile.h"
#include "InstallNames.h"
#include "InstallTexts.h"
#include "Module.h"
#include "Reg.h"
#include "TransferList.h"

TfInstall* fInstall = nullptr;

namespace {

// Byte 149 of code page 1252.
constexpr const char* Bullet = "\x95";
constexpr int CheckBoxHeight = 17;

std::string DirectoryOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

// The explanatory text boxes: no border, the window's colour, Arial 8.
void CreateNote(TMemo& memo, TControl& parent, const TBounds& b, const std::vector<std::string>& lines) {
  memo.Create(parent, b, ssNone, false);
  memo.SetColor(clBtnFace);
  TFont arial;
  arial.Name = "Arial";
  arial.Size = 8;
  memo.SetFont(arial);
  memo.SetLines(lines);
  memo.SetReadOnly(true);  // a note, not a place to type
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

TfInstall::TfInstall(const std::string& installDir)
    : TForm(TFormParams{.Caption = Msg::InstallerCaption, .Width = 391, .Height = 480, .BorderStyle = bsSingle}),
      Ini(Reg::DelphiIni),
      requestedDir_(installDir) {
  fInstall = this;
  CreateComponents();
  OnDestroy = [this] { FormDestroy(); };
  OnCreate = [this] { FormCreate(); };
  FinishCreate();
}

TfInstall::~TfInstall() {
  // FormDestroy reads the check boxes: the window goes while they exist.
  DestroyHandle();
  if (fInstall == this) fInstall = nullptr;
}

void TfInstall::CreateComponents() {
  auto box = [](TCheckBox& b, TControl& parent, int left, int top, int width, const char* caption,
                std::function<void()> onClick) {
    b.Create(parent, {left, top, width, CheckBoxHeight}, caption);
    b.OnClick = std::move(onClick);
  };

  Experts.Create(*this, {0, 136, 377, 65}, "Experts");
  box(D2, Experts, 8, 16, 121, "for Delphi 2", [this] { D2Click(); });
  box(D3, Experts, 8, 40, 121, "for Delphi 3", [this] { D3Click(); });
  TimerExpert.OnTimer = [this] { TimerExpertTimer(); };

  CreateNote(Memo1, *this, {0, 0, 377, 113},
             {"This installer doesn't copy any files. it only allows you :",
              std::string(Bullet) + " to add or remove entries in the registry",
              std::string(Bullet) + " to add or remove shortcuts in Start Menu", "",
              "To  install or modify installation, check or uncheck all the checkboxes ", "you want and click on OK.",
              "To uninstalll all: uncheck every checkbox. Then, you can delete", "the files of Usagram."});
  CreateNote(Memo2, Experts, {138, 15, 223, 48},
             {"Installation of expert variants in ", "Delphi in menu View / Usagram", ""});
  Label1.Create(*this, 22, 117, "Automatic reading of the registry");
  LED.Create(*this, {8, 120, 7, 7}, stCircle);

  Programme.Create(*this, {0, 208, 377, 89}, "Program");
  box(OD1, Programme, 8, 16, 121, "Tool in Delphi 1", [this] { OD1Click(); });
  box(OD2, Programme, 8, 40, 121, "Tool in Delphi 2", [this] { OD2Click(); });
  box(OD3, Programme, 8, 64, 121, "Tool in Delphi 3", [this] { OD3Click(); });
  CreateNote(Memo3, Programme, {136, 15, 233, 66},
             {"Installation of program variant in ", "Delphi in Tools/Usagram menu ", "", ""});

  box(cbGroupe, *this, 8, 304, 369, "Usagram group in Start/Programs menu", [this] { cbGroupeClick(); });
  Groupe.Create(*this, {0, 328, 377, 89}, "Group in Start/Programs menu");
  box(cbUsagram, Groupe, 8, 16, 300, "Shortcut to Usagram", [this] { cbUsagramClick(); });
  BitBtn1.Default = true;
  BitBtn1.Create(*this, {136, 424, 75, 25}, "OK");
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  box(cbAide, Groupe, 8, 32, 300, "Shortcut to Usagram Help", [this] { cbAideClick(); });
  box(cbQuorvel, Groupe, 8, 48, 300, "Shortcut to Quorvel Help", [this] { cbQuorvelClick(); });
  box(cbInstall, Groupe, 8, 64, 300, "Shortcut to this installer / uninstaller", [this] { cbInstallClick(); });
}

void TfInstall::FormCreate() {
  InstallerPath = ModuleFileName();
  InstallDir = requestedDir_.empty() ? DirectoryOf(InstallerPath) : requestedDir_;
  if (InstallDir.empty() || InstallDir.back() != '\\') InstallDir += '\\';

  ExePath = InstallDir + InstallFiles::Exe;
  ExpertPath = InstallDir + InstallFiles::Expert;
  Expert2Path = InstallDir + InstallFiles::Expert2;
  HelpPath = InstallDir + InstallFiles::Help;
  QuorvelHelpPath = InstallDir + InstallFiles::QuorvelHelp;
  ExeExists = FileExists(ExePath);
  ExpertExists = FileExists(ExpertPath);
  Expert2Exists = FileExists(Expert2Path);
  HelpExists = FileExists(HelpPath);
  QuorvelHelpExists = FileExists(QuorvelHelpPath);

  ProgramsDir = Reg.OpenKeyReadOnly(Reg::ShellFoldersKey) ? Reg.ReadString(Reg::ProgramsFolder) : "";
  // Starting the installer creates the section it keeps its values in.
  ShortcutDir.clear();
  if (Reg.OpenKey(std::string(Reg::ProductKey) + "\\" + Reg::Disk, true) && Reg.ValueExists(Reg::ShortcutDirectory))
    ShortcutDir = Reg.ReadString(Reg::ShortcutDirectory);
  Reg.CloseKey();

  BuildLinkPaths();
  ReadState();
}

void TfInstall::TimerExpertTimer() { ReadState(); }

void TfInstall::BitBtn1Click() { Close(); }

void TfInstall::ReadState() {
  if (Reading) return;
  {
    TReadingHold hold(Reading);
    ReadExperts();
    ReadTools();
    ReadShortcuts();
  }
  // The indicator blinks: the first pass turns the white circle off, then
  // red and off in turn, one pass each.
  LED.SetBrush(LED.BrushColor() == clBtnFace ? clRed : clBtnFace);
}

void TfInstall::ReadExpert(TCheckBox& box, const std::string& version, bool libraryExists, const char* value) {
  TRegistry reg;
  const bool shown = reg.OpenKeyReadOnly(Reg::DelphiVersionKey(version, Reg::Experts)) && libraryExists;
  box.SetVisible(shown);
  if (!shown) return;
  std::string library;
  // The expert counts as installed wherever its library lies.
  box.SetChecked(reg.CurrentKey().QueryString(value, library) && FileExists(library));
}

void TfInstall::ReadExperts() {
  ReadExpert(D3, Reg::Delphi3, ExpertExists, Reg::Expert3Value);
  ReadExpert(D2, Reg::Delphi2, Expert2Exists, Reg::Expert2Value);
  Experts.SetVisible(D2.Visible() || D3.Visible());
}

void TfInstall::ReadTool(TCheckBox& box, TTransferList& list) {
  const bool shown = list.Open();
  box.SetVisible(shown);
  if (!shown) return;
  std::string count;
  list.Read(Reg::TransferCount, count);
  box.SetChecked(FindTransferEntry(list, TransferCountOrZero(count), ExePath) >= 0);
}

void TfInstall::ReadTools() {
  Programme.SetVisible(ExeExists);
  if (!ExeExists) return;
  TIniTransferList delphi1(Ini);
  TRegistryTransferList delphi2(Reg::Delphi2), delphi3(Reg::Delphi3);
  ReadTool(OD1, delphi1);
  ReadTool(OD2, delphi2);
  ReadTool(OD3, delphi3);
}

void TfInstall::ReadShortcuts() {
  if (ShortcutDir.empty()) {
    cbGroupe.SetChecked(false);
    Groupe.SetVisible(false);
    return;
  }
  WIN32_FIND_DATAA found;
  cbGroupe.SetChecked(TFindFile().FindFirst(ShortcutDir, found));
  Groupe.SetVisible(cbGroupe.Checked());
  if (!Groupe.Visible()) return;
  struct TRow {
    TCheckBox& box;
    bool shown;
    const std::string& link;
  };
  const TRow rows[] = {{cbUsagram, ExeExists, LinkExe},
                       {cbAide, HelpExists, LinkHelp},
                       {cbQuorvel, QuorvelHelpExists, LinkQuorvelHelp},
                       {cbInstall, true, LinkInstaller}};
  for (const TRow& row : rows) {
    row.box.SetVisible(row.shown);
    if (row.shown) row.box.SetChecked(FileExists(row.link));
  }
}

void TfInstall::BuildLinkPaths() {
  const std::string dir = ShortcutDir + "\\";
  LinkExe = dir + InstallFiles::LinkExe;
  LinkHelp = dir + InstallFiles::LinkHelp;
  LinkQuorvelHelp = dir + InstallFiles::LinkQuorvelHelp;
  LinkInstaller = dir + InstallFiles::LinkInstaller;
}
