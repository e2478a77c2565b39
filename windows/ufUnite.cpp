#include "ufUnite.h"

#include "LaterWindows.h"
#include "Units.h"

TfUnite* fUnite = nullptr;

namespace {
constexpr int UnitHelpContext = 2;
constexpr const char* InspectPrefix = "Inspect - ";

void FillFrom(TListBox& list, const TFileArray* uses) {
  list.Clear();
  if (!uses) return;
  for (int i = 0; i < uses->Count; ++i)
    if (const TFile* used = uses->Items[i]) list.Add(used->Name);
}
}  // namespace

TfUnite::TfUnite()
    : TForm(TFormParams{.Caption = "Unit", .Width = 273, .Height = 388, .BorderStyle = bsDialog,
                        .HelpContext = UnitHelpContext}) {
  fUnite = this;
  CreateComponents();
  FinishCreate();
}

TfUnite::~TfUnite() {
  DestroyHandle();
  if (fUnite == this) fUnite = nullptr;
}

void TfUnite::CreateComponents() {
  TFont list;
  list.Name = "Courier New";
  list.Height = 11;
  const int width = ClientWidth() - 16;
  Label1.Create(*this, 8, 6, "Interface");
  lbInterface.Create(*this, {8, 22, width, 134});
  Label2.Create(*this, 8, 162, "Implementation");
  lbImplementation.Create(*this, {8, 178, width, 134});
  for (TListBox* box : {&lbInterface, &lbImplementation}) {
    box->SetFont(list);
    box->SetItemHeight(14);
  }
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(*this, {(ClientWidth() - 75) / 2, ClientHeight() - 33, 75, 25}, "OK");
}

int TfUnite::Inspect(const TFile& unit) {
  SetCaption(InspectPrefix + unit.Name);
  FillFrom(lbInterface, unit.InterfaceUses.get());
  FillFrom(lbImplementation, unit.ImplementationUses.get());
  return ShowModal();
}

void InspectUnit(TFile& unit) {
  if (fUnite) fUnite->Inspect(unit);
}
