#include "CmdModel.h"

#include <cstdio>

#include "CmdAnalysis.h"
#include "CmdOutput.h"
#include "Globales.h"
#include "Units.h"

namespace {

std::string Flag(bool b) { return b ? "1" : "0"; }

std::string JoinedNames(const TFileArray* list) {
  std::string text;
  if (!list) return text;
  for (int i = 0; i < list->Count; ++i) {
    if (!list->Items[i]) continue;
    if (!text.empty()) text += ',';
    text += list->Items[i]->Name;
  }
  return text;
}

void PrintModel() {
  for (int i = 0; i < LocationCount; ++i) {
    const TLocation* l = Locations[i].get();
    if (!l) continue;
    WriteLine({"location", std::to_string(i), EscapeField(l->Path), Flag(l->Basic), Flag(l->Active), Flag(l->Explicit)});
  }
  if (!FileArray) return;
  for (int i = 0; i < FileArray->Count; ++i) {
    const TFile* u = FileArray->Items[i];
    if (!u) continue;
    WriteLine({"unit", std::to_string(i), EscapeField(u->Name), std::to_string(u->Location), std::to_string(u->BasicIndex),
               std::to_string(u->Level), Flag(u->IsUnit), EscapeField(u->FileName),
               EscapeField(JoinedNames(u->InterfaceUses.get())), EscapeField(JoinedNames(u->ImplementationUses.get()))});
  }
}

}  // namespace

TExitCode RunModel(const TCmdRequest& request) {
  TAnalysisSession session(request.Analysis);
  const TExitCode code = session.Run();
  PrintModel();
  return code;
}
