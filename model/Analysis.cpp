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
  // From here each directory is listed once: the locations' snapshots and
  // the searches share it.
  TSearchScope scope;
  ReleaseModel();
  ResetLocationMarks();
  LoadLocations();
  // "." is the directory this run made current, not the one of the first run.
  RefreshCurrentDirectoryLocation();
  UBase = std::make_unique<TUBase>();
  FileArray = std::make_unique<TFileArray>(true);
  FileArray->RoomWarned = warned;
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

// A file that could not be opened or read stops the depth-first walk half
// way. The units on the chain that was being read have no level yet (a
// finished unit has at least 1); the deepest of them, the last one added,
// is the one whose file failed. What was read stays; the failed unit
// becomes a unit not found, and the chain gets its levels as if the walk
// had ended there, so that the model sorts and draws like any other.
void EndInterruptedWalk() {
  if (!FileArray) return;
  TFile* failed = nullptr;
  for (int i = FileArray->Count - 1; i >= 0 && !failed; --i) {
    TFile* unit = FileArray->Items[i];
    if (unit && unit->Analysed && unit->Level == 0) failed = unit;
  }
  if (failed) {
    for (int i = 0; i < LocationCount; ++i)
      if (Locations[i]) std::replace(Locations[i]->Files.Objects.begin(), Locations[i]->Files.Objects.end(), failed,
                                     static_cast<TFile*>(nullptr));
    failed->Location = LocationNotFound;
    failed->Found = false;
    failed->FileName.clear();
    failed->InterfaceUses = std::make_unique<TFileArray>();
    failed->ImplementationUses = std::make_unique<TFileArray>();
  }
  // Deepest first: each unit of the chain was added after the one that uses
  // it. Units the walk never reached have no uses and get level 1.
  for (int i = FileArray->Count - 1; i >= 0; --i) {
    TFile* unit = FileArray->Items[i];
    if (unit && unit->Level == 0) unit->ComputeLevel();
  }
  if (FileArray->Root) FileArray->Root->ComputeLevel();
}

}  // namespace

void SalvageInterruptedRun() {
  EndInterruptedWalk();
  SortBranches();
}

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
    TScanMemory scans;
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
