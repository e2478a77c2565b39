#include "ToolWindows.h"

#include <memory>

#include "LaterWindows.h"
#include "ufAProposDe.h"
#include "ufAccueil.h"
#include "ufRepertoire.h"
#include "ufUsagram.h"

namespace {

// What CreateToolWindows made; a window made elsewhere is not ours to free.
struct TOwnedWindows {
  std::unique_ptr<TfUsagram> Usagram;
  std::unique_ptr<TfAProposDe> AProposDe;
  std::unique_ptr<TfAccueil> Accueil;
  std::unique_ptr<TfRepertoire> Repertoire;
} Owned;

}  // namespace

void CreateToolWindows() {
  CreateForm(fUsagram, Owned.Usagram);
  CreateForm(fAProposDe, Owned.AProposDe);
  CreateForm(fAccueil, Owned.Accueil);
  CreateForm(fRepertoire, Owned.Repertoire);
}

void FreeToolWindows() {
  Owned.Repertoire.reset();
  Owned.Accueil.reset();
  Owned.AProposDe.reset();
  Owned.Usagram.reset();
}

bool ExecuteDirectoryWindow(const std::string& caption, std::string& directory) {
  return fRepertoire && fRepertoire->Execute(caption, directory);
}
