// The welcome window: shown at start and at the first close request for
// five seconds, during which it cannot be closed; after the close request
// it then ends the program (or, inside the IDE, closes the main window).
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"

class TfAccueil : public TForm {
 public:
  TfAccueil();
  ~TfAccueil() override;

  static constexpr unsigned ShowTime = 5000;  // ms

  // Components, in the order of the form.
  TPanel Panel1;
  TImage Image;
  TRichEdit RichEdit;
  TPanel Panel2;
  TImage Quorvel;
  TTimer Timer{*this, ShowTime, false};

  // Handlers.
  void FormShow();
  void FormCloseQuery(bool& canClose);
  void TimerTimer();

 private:
  void CreateComponents();
  bool FirstShow = true;
};

extern TfAccueil* fAccueil;
