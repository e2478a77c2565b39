// The source editor: one window per unit while linked to it, with its File
// and Edit menus. An editor is created on demand and freed when closed.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "ComCtrls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"

class TFile;

// Inside the IDE, Edit first asks the IDE to open the file in its own
// editor; true when it did (then no editor window opens). The IDE library
// sets it; null outside the IDE.
using TOpenFileInIde = bool (*)(const std::string& fileName);
extern TOpenFileInIde OpenFileInIde;

class TfEditeur : public TForm {
 public:
  TfEditeur();
  ~TfEditeur() override;

  // Opens the file: its full name as caption and FileName, the text, the
  // caret at the start, not modified. Raises an exception naming the file
  // when it cannot be read.
  void Load(const std::string& fileName);
  // The unit whose source this is; the unit's Editor is this window. Both
  // references are set and cleared together.
  void Link(TFile& unit);
  void Unlink();

  std::string FileName;
  TFile* Unit = nullptr;

  // Components, in the order of the form.
  TRichEdit Source;
  TMainMenu MainMenu1;
  TPrintDialog PrintDialog1;
  TPrinterSetupDialog PrinterSetupDialog1;
  TSaveDialog SaveFileDialog;
  TMenuItem *Fichier1, *Fermer1, *Enregistrer1, *Enregistrersous1, *Imprimer1, *Imprimante1;
  TMenuItem *Edition1, *Couper1, *Copier1, *Coller1, *Supprimer1, *Toutselectionner1;
  TMenuItem* Retouraudiagramme1;
  // The menu as a table, in its order (the rows point at the items above).
  static std::span<const TMenuDef<TfEditeur>> MenuTable();

  // Handlers.
  void FormCloseQuery(bool& canClose);
  void FormClose(TCloseAction& action);
  void Fermer1Click();
  void Enregistrer1Click();
  void Enregistrersous1Click();
  void Imprimer1Click();
  void Imprimante1Click();
  // Opening the Edit menu: Paste only with text on the clipboard, the
  // others only with a selection.
  void Edition1Click();
  void Couper1Click();
  void Copier1Click();
  void Coller1Click();
  void Supprimer1Click();
  void Toutselectionner1Click();
  void Retouraudiagramme1Click();

 private:
  void CreateComponents();
  void CreateMenus();
};

// The editors that are open, and their number.
std::size_t EditorCount();
// Closes every editor, each asking about its changes as its own close does.
// False, with the editors from the one that refused on still open, when
// the user chose Cancel.
bool CloseAllEditors();
// Frees every editor without asking (the program is ending).
void FreeEditors();
