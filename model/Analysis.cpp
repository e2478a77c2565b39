#include "Analysis.h"

#include <windows.h>

#include <algorithm>

#include "Globales.h"
#include "Messages.h"
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

void AnalyseProject(const std::string& name) {
  ReleaseModel();
  ResetLocationMarks();
  LoadLocations();
  UBase = std::make_unique<TUBase>();
  FileArray = std::make_unique<TFileArray>(true);
  TSearchScope scope;
  FileArray->AddRoot(new TFile(name, std::string()));
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

void AnalyseProjectFile(const std::string& path) {
  const std::string directory = ExtractFilePath(path);
  const std::string fileName = ExtractFileName(path);
  const std::string extension = ExtractFileExt(fileName);
  const std::string name = fileName.substr(0, fileName.size() - extension.size());
  const bool isProject = UpperCaseAscii(extension) == ".DPR";

  const bool entered = directory.empty() || SetCurrentDirectoryA(directory.c_str());
  SetStatus(Msg::StatusInitializing);
  if (!entered) {
    IsProjectFile = false;
    UnresolvedProject(name);
  } else {
    IsProjectFile = isProject;
    AnalyseProject(name);
    // A pass that adds a location shifts the indexes of those after it, so
    // the units it resolved earlier may name the wrong location: run again
    // until a pass adds none. Each such pass adds at least one location, so
    // the list's limit bounds the number of passes.
    for (int pass = 0; ImplicitLocationsFound && pass < MaxAddedLocations; ++pass) {
      ImplicitLocationsFound = false;
      IsProjectFile = isProject;
      SetStatus(Msg::StatusRestarting);
      AnalyseProject(name);
    }
  }
  SetStatus(Msg::StatusSorting);
  SortBranches();
}

void UsagramInitialise() {
  if (Initialised) return;
  Initialised = true;
  LoadGlobalSettings();
}

void UsagramFinalise() {
  if (!Initialised) return;
  Initialised = false;
  ReleaseModel();
  SaveGlobalSettings();
}
