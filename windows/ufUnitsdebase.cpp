#include "Settings.h"
#include "ufUnitsdebase.h"

#include "Globales.h"
#include "LaterWindows.h"
#include "Messages.h"
#include "Units.h"

TfUnitsdebase* fUnitsdebase = nullptr;

namespace {
constexpr int BasicUnitsHelpContext = 4;
constexpr const char* NewNamePrompt = "What is the name of the new basic unit ?";
// The box's title until the user gives another (as the analysis has it).
}  // namespace

TfUnitsdebase::TfUnitsdebase()
    : TForm(TFormParams{.Caption = "Basic units", .Width = 340, .Height = 330, .BorderStyle = bsDialog,
                        .HelpContext = BasicUnitsHelpContext}) {
  fUnitsdebase = this;
  CreateComponents();
  OnShow = [this] { Refresh(); };
  FinishCreate();
}

TfUnitsdebase::~TfUnitsdebase() {
  OnShow = nullptr;
  DestroyHandle();
  if (fUnitsdebase == this) fUnitsdebase = nullptr;
}

void TfUnitsdebase::CreateComponents() {
  Label1.Create(*this, 8, 6, "Basic units list");
  ListBox.Create(*this, {8, 22, 210, 190});
  bAjouter.Create(*this, {228, 22, 96, 25}, "Add");
  bSupprimer.Create(*this, {228, 52, 96, 25}, "Delete");
  bCouleur.Create(*this, {228, 82, 96, 25}, "Color");
  Label2.Create(*this, 8, 220, "Title of the \"Basic units\" label :");
  Titre.Create(*this, {8, 236, 210, 21});
  Cacher.Create(*this, {8, 264, 210, 17}, "Hide label and links");
  Fermer.ModalResult = mrOk;
  Fermer.Create(*this, {228, 256, 96, 25}, "Close");

  bAjouter.OnClick = [this] { AddName(); };
  bSupprimer.OnClick = [this] { bSupprimerClick(); };
  bCouleur.OnClick = [this] { bCouleurClick(); };
  Titre.OnChange = [this] { TitreChange(); };
  Cacher.OnClick = [this] { CacherClick(); };
}

void TfUnitsdebase::Refresh() {
  ListBox.Clear();
  for (int i = 0; i < BasicUnitCount; ++i) ListBox.Add(BasicUnits[i]);
  if (ListBox.Count() > 0) ListBox.SetItemIndex(0);
  // Before any analysis there is no box yet: the stored title and mark are
  // what the first one will take.
  if (UBase) {
    Titre.SetText(UBase->Name);
    Cacher.SetChecked(UBase->Hidden);
  } else {
    WithSettings([this](TRegIniFile& store) {
      Titre.SetText(Reg::ReadBasicUnitsTitle(store));
      Cacher.SetChecked(Reg::ReadBasicUnitsHidden(store));
    });
  }
}

void TfUnitsdebase::AddName() {
  std::string name;
  if (!InputQuery(Msg::AppCaption, NewNamePrompt, name)) return;
  if (AddBasicUnit(name)) Refresh();
}

void TfUnitsdebase::bSupprimerClick() {
  const int index = ListBox.ItemIndex();
  if (index < 0) return;
  RemoveBasicUnit(ListBox.Items(index));
  Refresh();
}

void TfUnitsdebase::bCouleurClick() {
  if (ColorDialog.Execute(Handle())) BasicUnitsColour = ColorToRGB(ColorDialog.Color);
}

void TfUnitsdebase::TitreChange() {
  if (UBase) {
    UBase->Name = Titre.Text();
    return;
  }
  WithSettings([this](TRegIniFile& store) { Reg::WriteBasicUnitsTitle(store, Titre.Text()); });
}

void TfUnitsdebase::CacherClick() {
  if (UBase) {
    UBase->Hidden = Cacher.Checked();
    return;
  }
  WithSettings([this](TRegIniFile& store) { Reg::WriteBasicUnitsHidden(store, Cacher.Checked()); });
}

bool ExecuteBasicUnitsEditor() { return fUnitsdebase && fUnitsdebase->ShowModal() == mrOk; }
