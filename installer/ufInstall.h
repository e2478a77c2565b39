// The installer's window: one check box per entry of the system in Delphi's
// configuration and in the Start menu. Every box shows what is installed,
// read again every second; checking or unchecking one installs or removes
// that entry at once. The program copies no files.
#pragma once

#include <string>

#include "ComOwners.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Profile.h"
#include "StdCtrls.h"

class TTransferList;

class TfInstall : public TForm {
 public:
  // installDir: where the system's files are; by default the directory of
  // the running program.
  explicit TfInstall(const std::string& installDir = {});
  ~TfInstall() override;

  // Components, in the order of the form.
  TGroupBox Experts;
  TCheckBox D2, D3;
  TTimer TimerExpert{*this, 1000, true};
  TMemo Memo1, Memo2;
  TLabel Label1;
  TShape LED;
  TGroupBox Programme;
  TCheckBox OD1, OD2, OD3;
  TMemo Memo3;
  TCheckBox cbGroupe;
  TGroupBox Groupe;
  TCheckBox cbUsagram;
  TButton BitBtn1;
  TCheckBox cbAide, cbQuorvel, cbInstall;

  // Handlers.
  void FormCreate();
  void FormDestroy();
  void TimerExpertTimer();
  void D2Click();
  void D3Click();
  void OD1Click();
  void OD2Click();
  void OD3Click();
  void cbGroupeClick();
  void cbUsagramClick();
  void cbAideClick();
  void cbQuorvelClick();
  void cbInstallClick();
  void BitBtn1Click();

  // The reading pass: every visible box from the registry, "Delphi.INI" and
  // the group folder; then the indicator blinks.
  void ReadState();
  void ReadExperts();
  void ReadTools();
  void ReadShortcuts();
  void BuildLinkPaths();

  // Delphi tool entries (Delphi 2 and 3 in the registry, Delphi 1 in the
  // profile file): checked adds the entry, unchecked removes it.
  void ToggleTool(TCheckBox& box, TTransferList& list);

  // Start-menu shortcuts.
  void ToggleShortcut(TCheckBox& box, const std::string& linkFile, const std::string& target);
  void RemoveShortcut(TCheckBox& box, const std::string& linkFile);
  // A shell link to target with that description, saved as linkFile (an
  // existing one is overwritten). The result of the last shell call made.
  static HRESULT CreateShortcut(const std::string& target, const std::string& linkFile,
                                const std::string& description);

  // State.
  TRegistry Reg;
  TIniFile Ini;
  bool Reading = false;
  std::string InstallDir, ExePath, ExpertPath, Expert2Path, HelpPath, QuorvelHelpPath;
  bool ExeExists = false, ExpertExists = false, Expert2Exists = false, HelpExists = false, QuorvelHelpExists = false;
  std::string InstallerPath;
  std::string ProgramsDir, ShortcutDir;
  std::string LinkExe, LinkHelp, LinkQuorvelHelp, LinkInstaller;

 private:
  void CreateComponents();
  void ToggleExpert(TCheckBox& box, const std::string& version, const char* value, const std::string& library);
  void ReadExpert(TCheckBox& box, const std::string& version, bool libraryExists, const char* value);
  void ReadTool(TCheckBox& box, TTransferList& list);
  bool AnythingChecked() const;
  // Shell links need the component object runtime on this thread.
  TComApartment com_;
  std::string requestedDir_;
};

// The installer's window while it exists.
extern TfInstall* fInstall;

// Holds the reading guard for the life of the object.
class TReadingHold {
 public:
  explicit TReadingHold(bool& reading) : reading_(reading) { reading_ = true; }
  ~TReadingHold() { reading_ = false; }
  TReadingHold(const TReadingHold&) = delete;
  TReadingHold& operator=(const TReadingHold&) = delete;

 private:
  bool& reading_;
};

// A file (not a directory) at that path.
bool FileExists(const std::string& path);
