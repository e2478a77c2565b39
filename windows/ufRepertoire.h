// The directory selection window: a drive box, the directory list (one line
// per level) and the path of the highlighted line above it. One instance per
// program, created once and reused for every choice.
#pragma once

#include <string>

#include "ExtCtrls.h"
#include "FileCtrl.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfRepertoire : public TForm {
 public:
  TfRepertoire();
  ~TfRepertoire() override;

  // Shows the window modally with that caption, opened on path (when path
  // cannot be opened, or is empty, on the directory it showed last). True
  // when the user chose OK: path is then the highlighted line, a drive root
  // with its backslash, any other directory without. Otherwise path keeps
  // the value it came in with.
  bool Execute(const std::string& title, std::string& path);

  // Components, in the order of the form.
  TPanel Panel1;
  TButton BitBtn1, BitBtn2;
  TPanel Panel2;
  TDirectoryListBox Rep;
  TPanel Panel3;
  TLabel Repert, Label1;
  TEdit Drive;

  // Handlers.
  void FormShow();
  void FormResize();
  void RepChange();
  void RepClick();
  void RepDblClick();
  void RepKeyUp(WORD& key, TShiftState shift);
  void RepKeyDown(WORD& key, TShiftState shift);
  void DriveChange();
  void DriveEnter();

  // Shows the drive letter, and the highlighted path in the label, cut from
  // the left ("C:\...\end\of\path") when the label is too narrow for it.
  void RefreshPath();

 private:
  void CreateComponents();
  // The program, not the user, is changing the directory or the drive box:
  // a change of the drive box is not a drive chosen.
  bool Changing = false;
};

// The one instance of the program, while it exists.
extern TfRepertoire* fRepertoire;
