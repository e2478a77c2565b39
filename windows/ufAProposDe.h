// The about window: the program's text block and the maker's contact
// details.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfAProposDe : public TForm {
 public:
  TfAProposDe();
  ~TfAProposDe() override;

  // Components, in the order of the form.
  TRichEdit RichEdit;
  TPanel Panel1;
  TLabel Label1, Label2, Label3, Label4;
  TButton BitBtn1;

  void FormShow();

 private:
  void CreateComponents();
};

extern TfAProposDe* fAProposDe;
