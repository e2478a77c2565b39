#include "CmdCycles.h"

#include <string>

#include "CmdAnalysis.h"
#include "CmdOutput.h"
#include "Cycles.h"
#include "Units.h"

namespace {

std::string JoinedNames(const TCycleComponent& c) {
  std::string text;
  for (const TFile* u : c.Units) {
    if (!text.empty()) text += ',';
    text += u->Name;
  }
  return text;
}

void PrintList(const std::vector<TCycleComponent>& list, const char* kind, const char* cycleKind) {
  int number = 0;
  for (const TCycleComponent& c : list) {
    const std::string n = std::to_string(++number);
    WriteLine({kind, n, std::to_string(c.Units.size()), EscapeField(JoinedNames(c))});
    WriteLine({cycleKind, n, EscapeField(CycleChain(c)), CycleClauses(c)});
  }
}

}  // namespace

void PrintCycles(const TCycleReport& report) {
  PrintList(report.Errors, "error", "error-cycle");
  PrintList(report.Components, "component", "cycle");
}

TExitCode RunCycles(const TCmdRequest& request) {
  TAnalysisSession session(request.Analysis);
  const TExitCode code = session.Run();
  if (session.Outcome() == TProjectOutcome::Analysed && FileArray) PrintCycles(FindCycles(*FileArray));
  return code;
}
