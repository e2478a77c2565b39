// The unit scope names editor: the names tried, in order, before a unit's
// own name ("System" makes "SysUtils" the unit "System.SysUtils").
#pragma once

#include "Dialogs.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfScopes : public TForm {
 public:
  TfScopes();
  ~TfScopes() override;

  // Components, in the order of the form.
  TLabel Label1;
  TListBox ListBox;
  TButton bAjouter, bSupprimer, bMonter, bDescendre, Fermer;
  TLabel Note1, Note2;

  // The list from ScopeNames; the line at the index selected (the first
  // when there is no such line).
  void Refresh(int selected = 0);
  // Asks for a name and adds it as typed, refused with its message when it
  // is not a scope name, is listed already or the list is full.
  void AddName();

  // Handlers.
  void bSupprimerClick();
  // Moves the selected name one place earlier (-1) or later (+1).
  void Move(int step);

 private:
  void CreateComponents();
};

extern TfScopes* fScopes;
