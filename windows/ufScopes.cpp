#include "ufScopes.h"

#include "Globales.h"
#include "Messages.h"

TfScopes* fScopes = nullptr;

namespace {
constexpr const char* NewNamePrompt = "What is the new unit scope name (such as System or Vcl) ?";
}  // namespace

TfScopes::TfScopes()
    : TForm(TFormParams{.Caption = "Unit scope names", .Width = 340, .Height = 330, .BorderStyle = bsDialog}) {
  fScopes = this;
  CreateComponents();
  OnShow = [this] { Refresh(); };
  FinishCreate();
}

TfScopes::~TfScopes() {
  OnShow = nullptr;
  DestroyHandle();
  if (fScopes == this) fScopes = nullptr;
}

void TfScopes::CreateComponents() {
  Label1.Create(*this, 8, 6, "Unit scope names, in the order they are tried");
  ListBox.Create(*this, {8, 22, 210, 190});
  bAjouter.Create(*this, {228, 22, 96, 25}, "Add");
  bSupprimer.Create(*this, {228, 52, 96, 25}, "Delete");
  bMonter.Create(*this, {228, 92, 96, 25}, "Up");
  bDescendre.Create(*this, {228, 122, 96, 25}, "Down");
  Note1.Create(*this, 8, 222, "A unit U that no location holds as U.PAS is");
  Note2.Create(*this, 8, 238, "looked for as SCOPE.U for each scope in turn.");
  Fermer.ModalResult = mrOk;
  Fermer.Create(*this, {228, 256, 96, 25}, "Close");

  bAjouter.OnClick = [this] { AddName(); };
  bSupprimer.OnClick = [this] { bSupprimerClick(); };
  bMonter.OnClick = [this] { Move(-1); };
  bDescendre.OnClick = [this] { Move(+1); };
}

void TfScopes::Refresh(int selected) {
  ListBox.Clear();
  for (int i = 0; i < ScopeNameCount; ++i) ListBox.Add(ScopeNames[i]);
  if (ListBox.Count() > 0) ListBox.SetItemIndex(selected >= 0 && selected < ListBox.Count() ? selected : 0);
}

void TfScopes::AddName() {
  std::string name;
  if (!InputQuery(Msg::AppCaption, NewNamePrompt, name)) return;
  if (AddScopeName(name)) Refresh(ScopeNameCount - 1);
}

void TfScopes::bSupprimerClick() {
  const int index = ListBox.ItemIndex();
  if (index < 0) return;
  RemoveScopeName(ListBox.Items(index));
  Refresh(index > 0 ? index - 1 : 0);
}

void TfScopes::Move(int step) {
  const int index = ListBox.ItemIndex();
  const int target = index + step;
  if (index < 0 || target < 0 || target >= ScopeNameCount) return;
  SwapScopeNames(index, target);
  Refresh(target);
}
