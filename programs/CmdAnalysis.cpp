#include "CmdAnalysis.h"

#include <cstdio>
#include <memory>

#include "Analysis.h"
#include "BufLec.h"
#include "Globales.h"
#include "Units.h"
#include "Yield.h"

namespace {
void PrintStatus(const std::string& text) { std::fprintf(stderr, "status: %s\n", text.c_str()); }
}  // namespace

TAnalysisSession::TAnalysisSession(const TAnalysisRequest& request)
    : Request(request), UsesSettings(!request.ListsGiven) {
  SetStatusHooks(PrintStatus, nullptr);
  if (UsesSettings) UsagramInitialise();
}

TAnalysisSession::~TAnalysisSession() {
  if (UsesSettings) UsagramFinalise();
  SetStatusHooks(nullptr, nullptr);
}

TExitCode TAnalysisSession::Run() {
  if (Request.ListsGiven) {
    // The lists go through the model's own operations, with their limits,
    // duplicates and messages. The current-directory entry is the project's
    // directory, and the locations given go before it in their order.
    ClearLocations();
    ClearBasicUnits();
    ClearScopeNames();
    SetCurrentDirectoryA(ExtractFilePath(Request.File).c_str());
    Locations[0] = std::make_unique<TLocation>(".");
    LocationCount = 1;
    LocationsLoaded = true;
    for (const TAnalysisRequest::TLocationOption& option : Request.Locations) {
      const int i = AddLocation(-1, option.Directory, false);
      if (i < 0) continue;
      Locations[i]->Basic = option.Basic;
      Locations[i]->Active = option.Active;
    }
    for (const std::string& name : Request.BasicUnits) AddBasicUnit(name);
    for (const std::string& name : Request.ScopeNames) AddScopeName(name);
  }
  TExitCode code = ExitDone;
  Analysing = true;
  try {
    Outcome_ = AnalyseProjectFile(Request.File);
    switch (Outcome_) {
      case TProjectOutcome::Analysed: break;
      case TProjectOutcome::NotFound: code = ExitNotFound; break;
      case TProjectOutcome::PathTooLong: code = ExitBadInput; break;
    }
  } catch (const EInOutError& e) {
    // The model is what the run had reached.
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    code = ExitBadInput;
  }
  Analysing = false;
  if (const std::string dropped = DroppedEntriesText(); !dropped.empty())
    std::fprintf(stderr, "UsagramCmd: %s\n", dropped.c_str());
  return code;
}
