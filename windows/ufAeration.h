// The diagram simplification options: what a hidden unit loses in the
// drawing, with a small preview that loses the same parts.
#pragma once

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfAeration : public TForm {
 public:
  TfAeration();
  ~TfAeration() override;

  // Components, in the order of the form.
  TCheckBox cbAmont, cbAval, cbVignette, cbDoc;
  TButton BitBtn1;
  TLabel Label1;  // "Preview"
  TShape Vi1;     // the label
  TLabel Vi2;     // its text
  TShape H1;      // a link arriving at the label
  TShape V1, V2, V3;  // the label's own links
  TLabel doc;

  // Hides the parts of the preview that the checked boxes remove.
  void UpdatePreview();

 private:
  void CreateComponents();
};

extern TfAeration* fAeration;
