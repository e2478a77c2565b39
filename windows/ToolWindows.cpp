#include "ToolWindows.h"

#include <memory>

#include "LaterWindows.h"
#include "ufAProposDe.h"
#include "ufAccueil.h"
#include "ufAeration.h"
#include "ufCycles.h"
#include "ufEditeur.h"
#include "ufListeFichiers.h"
#include "ufLocalisations.h"
#include "ufRepertoire.h"
#include "ufScopes.h"
#include "ufUnite.h"
#include "ufUnitsdebase.h"
#include "ufUsagram.h"

namespace {

// What CreateToolWindows made; a window made elsewhere is not ours to free.
struct TOwnedWindows {
  std::unique_ptr<TfUsagram> Usagram;
  std::unique_ptr<TfUnitsdebase> Unitsdebase;
  std::unique_ptr<TfLocalisations> Localisations;
  std::unique_ptr<TfScopes> Scopes;
  std::unique_ptr<TfAProposDe> AProposDe;
  std::unique_ptr<TfUnite> Unite;
  std::unique_ptr<TfAeration> Aeration;
  std::unique_ptr<TfAccueil> Accueil;
  std::unique_ptr<TfListeFichiers> ListeFichiers;
  std::unique_ptr<TfRepertoire> Repertoire;
  std::unique_ptr<TfCycles> Cycles;
} Owned;

}  // namespace

void CreateToolWindows() {
  CreateForm(fUsagram, Owned.Usagram);
  CreateForm(fUnitsdebase, Owned.Unitsdebase);
  CreateForm(fLocalisations, Owned.Localisations);
  CreateForm(fAProposDe, Owned.AProposDe);
  CreateForm(fUnite, Owned.Unite);
  CreateForm(fAeration, Owned.Aeration);
  CreateForm(fAccueil, Owned.Accueil);
  CreateForm(fListeFichiers, Owned.ListeFichiers);
  CreateForm(fRepertoire, Owned.Repertoire);
}

// Later than the IDE's windows: made the first time it is asked for.
TfCycles& CyclesWindow() {
  CreateForm(fCycles, Owned.Cycles);
  return *fCycles;
}

void FreeToolWindows() {
  FreeEditors();
  Owned.Cycles.reset();
  Owned.Repertoire.reset();
  Owned.ListeFichiers.reset();
  Owned.Accueil.reset();
  Owned.Aeration.reset();
  Owned.Unite.reset();
  Owned.AProposDe.reset();
  Owned.Scopes.reset();
  Owned.Localisations.reset();
  Owned.Unitsdebase.reset();
  Owned.Usagram.reset();
}

void CreateScopeNamesEditor() { CreateForm(fScopes, Owned.Scopes); }

bool ExecuteScopeNamesEditor() {
  CreateScopeNamesEditor();
  return fScopes && fScopes->ShowModal() == mrOk;
}

bool ExecuteDirectoryWindow(const std::string& caption, std::string& directory) {
  return fRepertoire && fRepertoire->Execute(caption, directory);
}
