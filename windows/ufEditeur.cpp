#include "ufEditeur.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Clipbrd.h"
#include "FileSystem.h"
#include "LaterWindows.h"
#include "Units.h"
#include "ufUsagram.h"

TOpenFileInIde OpenFileInIde = nullptr;

namespace {

constexpr int EditorHelpContext = 3;
// Each new editor a little lower and to the right of the one before, so
// that none hides another completely.
constexpr int CascadeStep = 24, CascadeSteps = 8, CascadeOrigin = 32;

// The open editors; the main window's side owns them.
std::vector<std::unique_ptr<TfEditeur>> Editors;
// Every editor is being freed at once: nobody is to be shown for them.
bool FreeingAll = false;

void Release(TfEditeur* editor) {
  auto it = std::find_if(Editors.begin(), Editors.end(), [editor](const auto& e) { return e.get() == editor; });
  if (it == Editors.end()) return;
  std::unique_ptr<TfEditeur> going = std::move(*it);
  Editors.erase(it);
}

// A unit record is freed (a new analysis) while its editor is open: the
// editor stays, on its file, without the unit.
void ForgetUnit(TFile* unit) {
  if (unit->Editor) unit->Editor->Unit = nullptr;
  unit->Editor = nullptr;
}

TFormParams EditorParams() {
  const int step = static_cast<int>(Editors.size() % CascadeSteps) * CascadeStep;
  return TFormParams{.Caption = {},
                     .Width = 696,
                     .Height = 480,
                     .Position = poDesigned,
                     .Left = CascadeOrigin + step,
                     .Top = CascadeOrigin + step,
                     .HelpContext = EditorHelpContext};
}

}  // namespace

TfEditeur::TfEditeur() : TForm(EditorParams()) {
  CreateComponents();
  CreateMenus();
  OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
  OnClose = [this](TCloseAction& action) { FormClose(action); };
  OnRelease = [this] { Release(this); };
  FinishCreate();
  Show();
}

TfEditeur::~TfEditeur() {
  Unlink();
  DestroyHandle();
  if (!FreeingAll && !Application.Terminated && fUsagram) fUsagram->BringToFront();
}

void TfEditeur::CreateComponents() {
  TFont font;
  font.Name = "Courier New";
  font.Height = 13;
  Source.Create(*this, {0, 0, ClientWidth(), ClientHeight()}, true);
  Source.SetAlign(alClient);
  Source.SetFont(font);
  SaveFileDialog.Filter = "*.PAS - Pascal files|*.pas|*.* All files|*.*";
  SaveFileDialog.DefaultExt = "PAS";
}

// The editor's menu, one row per item: the system's name, its caption,
// shortcut and handler, and the member that reaches it.
namespace {

using E = TfEditeur;
constexpr TMenuDef<E> EditorMenuDefs[] = {
    {mlTop, "Fichier1", "&File", 0, nullptr, &E::Fichier1},
    {mlSub, "Fermer1", "&Close", 0, &E::Fermer1Click, &E::Fermer1},
    {mlSub, "Enregistrer1", "&Save", 0, &E::Enregistrer1Click, &E::Enregistrer1},
    {mlSub, "Enregistrersous1", "Save &as...", 0, &E::Enregistrersous1Click, &E::Enregistrersous1},
    {mlSub, "Imprimer1", "&Print", 0, &E::Imprimer1Click, &E::Imprimer1},
    {mlSub, "Imprimante1", "Printer...", 0, &E::Imprimante1Click, &E::Imprimante1},
    // Opening the Edit menu sets its items' states.
    {mlTop, "Edition1", "&Edit", 0, &E::Edition1Click, &E::Edition1},
    {mlSub, "Couper1", "&Cut", Ctrl('X'), &E::Couper1Click, &E::Couper1},
    {mlSub, "Copier1", "C&opy", Ctrl('C'), &E::Copier1Click, &E::Copier1},
    {mlSub, "Coller1", "&Paste", Ctrl('V'), &E::Coller1Click, &E::Coller1},
    {mlSub, "Supprimer1", "&Delete", Ctrl('D'), &E::Supprimer1Click, &E::Supprimer1},
    {mlSub, "", "-", 0, nullptr, nullptr},
    {mlSub, "Toutselectionner1", "&Select all", Ctrl('A'), &E::Toutselectionner1Click, &E::Toutselectionner1},
    {mlTop, "Retouraudiagramme1", "Back to diagram", 0, &E::Retouraudiagramme1Click, &E::Retouraudiagramme1},
};

}  // namespace

std::span<const TMenuDef<TfEditeur>> TfEditeur::MenuTable() { return EditorMenuDefs; }

void TfEditeur::CreateMenus() {
  BuildMenu(MainMenu1, *this, MenuTable());
  SetMenu(&MainMenu1);
}

void TfEditeur::Load(const std::string& fileName) {
  // The search may give a name relative to the project's directory; the
  // next project makes another directory current, and Save must still
  // write here.
  FileName = ExpandFileName(fileName);
  SetCaption(FileName);
  Source.LoadFromFile(FileName);
  Source.SetSel(0, 0);
  Source.SetModified(false);
}

void TfEditeur::Link(TFile& unit) {
  Unlink();
  if (unit.Editor) unit.Editor->Unlink();
  Unit = &unit;
  unit.Editor = this;
}

void TfEditeur::Unlink() {
  if (Unit && Unit->Editor == this) Unit->Editor = nullptr;
  Unit = nullptr;
}

// ---- Closing -----------------------------------------------------------------

void TfEditeur::FormCloseQuery(bool& canClose) {
  if (!Source.Modified()) return;
  switch (MessageDlg("Save modifications in " + FileName + "?", mtConfirmation, mbYesNoCancel)) {
    case mrYes:
      // A save that fails raises, and the window stays with its text.
      Enregistrer1Click();
      break;
    case mrNo:
      break;
    default:
      canClose = false;
  }
}

void TfEditeur::FormClose(TCloseAction& action) { action = caFree; }

void TfEditeur::Fermer1Click() { Close(); }

// ---- File --------------------------------------------------------------------

void TfEditeur::Enregistrer1Click() {
  Source.SaveToFile(FileName);
  Source.SetModified(false);
}

void TfEditeur::Enregistrersous1Click() {
  SaveFileDialog.FileName = FileName;
  if (!SaveFileDialog.Execute(Handle())) return;
  // The window now holds another file: the unit gets a new editor on its
  // own file the next time.
  Unlink();
  FileName = SaveFileDialog.FileName;
  SetCaption(ExtractFileName(FileName));
  Enregistrer1Click();
}

void TfEditeur::Imprimer1Click() {
  if (PrintDialog1.Execute(Handle())) Source.Print(FileName);
}

void TfEditeur::Imprimante1Click() { PrinterSetupDialog1.Execute(Handle()); }

// ---- Edit --------------------------------------------------------------------

void TfEditeur::Edition1Click() {
  const bool selection = Source.SelLength() > 0;
  Couper1->SetEnabled(selection);
  Copier1->SetEnabled(selection);
  Supprimer1->SetEnabled(selection);
  Coller1->SetEnabled(ClipboardHasText());
}

void TfEditeur::Couper1Click() { Source.CutToClipboard(); }
void TfEditeur::Copier1Click() { Source.CopyToClipboard(); }
void TfEditeur::Coller1Click() { Source.PasteFromClipboard(); }
void TfEditeur::Supprimer1Click() { Source.ClearSelection(); }
void TfEditeur::Toutselectionner1Click() { Source.SelectAll(); }

void TfEditeur::Retouraudiagramme1Click() {
  if (fUsagram) fUsagram->BringToFront();
}

// ---- The main window's side --------------------------------------------------

void EditUnit(TFile& unit) {
  if (!unit.Found) return;
  if (ExpertMode && OpenFileInIde && OpenFileInIde(ExpandFileName(unit.FileName))) return;
  if (unit.Editor) {
    unit.Editor->BringToFront();
    return;
  }
  OnUnitRelease = &ForgetUnit;
  // An editor whose file cannot be read is not kept: the error names the
  // file, and no empty window could later be saved over it.
  auto editor = std::make_unique<TfEditeur>();
  editor->Load(unit.FileName);
  editor->Link(unit);
  Editors.push_back(std::move(editor));
}

std::size_t EditorCount() { return Editors.size(); }

bool CloseAllEditors() {
  std::vector<TfEditeur*> open;
  for (const auto& editor : Editors) open.push_back(editor.get());
  for (TfEditeur* editor : open) {
    if (!editor->CloseQuery()) return false;
    FreeingAll = true;
    Release(editor);
    FreeingAll = false;
  }
  return true;
}

void FreeEditors() {
  FreeingAll = true;
  Editors.clear();
  FreeingAll = false;
}
