#include "Analysis.h"

#include <windows.h>

#include <algorithm>

#include "Globales.h"
#include "Messages.h"
#include "Ridarar.h"
#include "Settings.h"
#include "Units.h"
#include "Yield.h"
#include "uChaines.h"

bool Analysing = false;

namespace {
bool Initialised = false;
}

void ReleaseModel() {
  FileArray.reset();
  UBase.reset();  // stores the box's title and hidden mark
  // The locations' usage marks pointed at the records just freed.
  for (int i = 0; i < LocationCount; ++i)
    if (Locations[i]) std::fill(Locations[i]->Files.Objects.begin(), Locations[i]->Files.Objects.end(), nullptr);
}

void SortBranches() {
  if (FileArray) FileArray->Sort();
}

bool IsProjectExtension(const std::string& extension) {
  const std::string upper = UpperCaseAscii(extension);
  return upper == ".DPR" || upper == ".DPK" || upper == ".LPR";
}

void AnalyseProject(const std::string& name, const std::string& extension, bool restart) {
  const bool warned = restart && FileArray && FileArray->RoomWarned;
  ReleaseModel();
  ResetLocationMarks();
  LoadLocations();
  UBase = std::make_unique<TUBase>();
  FileArray = std::make_unique<TFileArray>(true);
  FileArray->RoomWarned = warned;
  TSearchScope scope;
  const bool isProject = IsProjectExtension(extension);
  FileArray->AddRoot(new TFile(name, std::string(), isProject, UpperCaseAscii(extension)));
}

namespace {

// The model of a project whose directory cannot be entered: the root alone,
// unresolved. Searching from the old current directory could pick up an
// unrelated file of the same name.
void UnresolvedProject(const std::string& name) {
  ReleaseModel();
  ResetLocationMarks();
  UBase = std::make_unique<TUBase>();
  FileArray = std::make_unique<TFileArray>(true);
  FileArray->AddRoot(TFile::Unresolved(name));
}

}  // namespace

TProjectOutcome AnalyseProjectFile(const std::string& path) {
  const std::string fullPath = ExpandFileName(path);
  const std::string directory = ExtractFilePath(fullPath);
  const std::string fileName = ExtractFileName(fullPath);
  const std::string extension = ExtractFileExt(fileName);
  const std::string name = fileName.substr(0, fileName.size() - extension.size());

  ResetPathWarnings();
  TProjectOutcome outcome = TProjectOutcome::Analysed;
  if (IsPathTooLong(fullPath))
    outcome = TProjectOutcome::PathTooLong;
  else if (!FileExists(fullPath))
    outcome = TProjectOutcome::NotFound;
  // The directory may exist when the file does not: it is still the one the
  // user meant, and its location is listed as usual.
  const bool entered = outcome != TProjectOutcome::PathTooLong && SetCurrentDirectoryA(directory.c_str());
  SetStatus(Msg::StatusInitializing);
  if (!entered) {
    UnresolvedProject(name);
  } else {
    AnalyseProject(name, extension);
    // A pass that adds a location shifts the indexes of those after it, so
    // the units it resolved earlier may name the wrong location: run again
    // until a pass adds none. Each such pass adds at least one location, so
    // the list's limit bounds the number of passes.
    for (int pass = 0; ImplicitLocationsFound && pass < MaxAddedLocations; ++pass) {
      ImplicitLocationsFound = false;
      SetStatus(Msg::StatusRestarting);
      AnalyseProject(name, extension, true);
    }
  }
  SetStatus(Msg::StatusSorting);
  SortBranches();
  if (outcome != TProjectOutcome::Analysed) Warning(ProjectProblemText(outcome, fullPath));
  return outcome;
}

std::string DroppedEntriesText() {
  if (!FileArray || FileArray->DroppedEntries == 0) return std::string();
  return std::string(Msg::UnitsArrayFull) + ": " + std::to_string(FileArray->DroppedEntries) + " entries dropped";
}

std::string ProjectProblemText(TProjectOutcome outcome, const std::string& path) {
  switch (outcome) {
    case TProjectOutcome::NotFound:
      return Msg::ProjectNotFound + ("\"" + path + "\".");
    case TProjectOutcome::PathTooLong:
      return PathTooLongText(path);
    case TProjectOutcome::Analysed:
      break;
  }
  return std::string();
}

void UsagramInitialise() {
  if (Initialised) return;
  Initialised = true;
  // A run that the user stops (Cancel on "Insufficient room ...") or that
  // runs out of memory still leaves the settings as they were meant.
  SetBeforeStopHook(UsagramFinalise);
  LoadGlobalSettings();
}

void UsagramFinalise() {
  if (!Initialised) return;
  Initialised = false;
  SetBeforeStopHook(nullptr);
  ReleaseModel();
  SaveGlobalSettings();
}
