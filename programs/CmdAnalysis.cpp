#include "CmdAnalysis.h"

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "Analysis.h"
#include "BufLec.h"
#include "Globales.h"
#include "OptionFileReader.h"
#include "Units.h"
#include "Yield.h"

namespace {
void PrintStatus(const std::string& text) { std::fprintf(stderr, "status: %s\n", text.c_str()); }

void AddLocationOption(const std::string& directory, bool basic, bool active) {
  const int i = AddLocation(-1, directory, false);
  if (i < 0) return;
  Locations[i]->Basic = basic;
  Locations[i]->Active = active;
}

}  // namespace

// As one --location per directory, the last listed first: the first listed
// is searched first. A file that cannot be used is reported, and the run
// goes on with the locations it has.
std::vector<std::string> TAnalysisSession::AddOptionFile(const std::string& fileName) {
  const TOptionFileSettings settings = ReadOptionFile(fileName, Request.Platform, Request.Config);
  for (const std::string& problem : settings.Problems) Warning(problem);
  for (auto d = settings.Directories.rbegin(); d != settings.Directories.rend(); ++d) AddLocationOption(*d, false, true);
  return settings.ScopeNames;
}

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
    // An option file's scope names go in their place among the --scope ones.
    std::vector<std::pair<std::size_t, std::vector<std::string>>> fileScopeNames;
    for (const TAnalysisRequest::TLocationOption& option : Request.Locations) {
      if (option.OptionsFile.empty())
        AddLocationOption(option.Directory, option.Basic, option.Active);
      else
        fileScopeNames.emplace_back(option.ScopeNamesBefore, AddOptionFile(option.OptionsFile));
    }
    for (const std::string& name : Request.BasicUnits) AddBasicUnit(name);
    for (std::size_t i = 0; i <= Request.ScopeNames.size(); ++i) {
      for (const auto& [before, names] : fileScopeNames)
        if (before == i) AddOptionFileScopeNames(names);
      if (i < Request.ScopeNames.size()) AddScopeName(Request.ScopeNames[i]);
    }
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
