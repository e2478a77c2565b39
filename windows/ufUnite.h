// The inspection window: one unit's interface and implementation uses, as
// two lists.
#pragma once

#include "Forms.h"
#include "StdCtrls.h"

class TFile;

class TfUnite : public TForm {
 public:
  TfUnite();
  ~TfUnite() override;

  // Fills both lists from the unit's uses lists, in their order, and shows
  // the window modally.
  int Inspect(const TFile& unit);

  // Components, in the order of the form.
  TLabel Label1, Label2;
  TListBox lbInterface, lbImplementation;
  TButton BitBtn1;

 private:
  void CreateComponents();
};

extern TfUnite* fUnite;
