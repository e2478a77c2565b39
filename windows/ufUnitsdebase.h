// The basic units editor: the list of units that are not analysed, their
// colour, and the title and visibility of their box on the diagram.
#pragma once

#include "Dialogs.h"
#include "Forms.h"
#include "StdCtrls.h"

class TfUnitsdebase : public TForm {
 public:
  TfUnitsdebase();
  ~TfUnitsdebase() override;

  // Components, in the order of the form.
  TLabel Label1;
  TListBox ListBox;
  TButton bAjouter, bSupprimer, bCouleur, Fermer;
  TLabel Label2;
  TEdit Titre;
  TCheckBox Cacher;
  TColorDialog ColorDialog;

  // The list from BasicUnits, the first line selected; the box's title
  // and mark.
  void Refresh();
  // Asks for a name and adds it exactly as typed.
  void AddName();

  // Handlers.
  void bSupprimerClick();
  void bCouleurClick();
  void TitreChange();
  void CacherClick();

 private:
  void CreateComponents();
};

extern TfUnitsdebase* fUnitsdebase;
