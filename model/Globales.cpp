#include "Globales.h"

#include <algorithm>
#include <utility>

#include "FindFile.h"
#include "Messages.h"
#include "pascal_tokens.h"
#include "uChaines.h"

std::unique_ptr<TLocation> Locations[LocationSlots];
uint16_t LocationCount = 0;
std::string BasicUnits[BasicUnitSlots];
uint16_t BasicUnitCount = 0;
std::string ScopeNames[ScopeNameSlots];
uint16_t ScopeNameCount = 0;
COLORREF BasicUnitsColour = 0;
COLORREF NotFoundColour = 0;
std::string ImagesDirectory;
bool MSWord95 = true;
bool LocationsLoaded = false;

// ---------------------------------------------------------------- TLocation

namespace {

void ScanDirectory(const std::string& directory, const char* extension, TStringList& files,
                   std::vector<std::string>& upperFiles) {
  const std::string wanted = std::string(".") + extension;
  const auto take = [&](const std::string& name) {
    // Every kind of entry is taken, directories and hidden files included;
    // but a longer extension matched through its short name ("x.pascal" as
    // X~1.PAS) is not a source file.
    if (!SameTextAscii(ExtractFileExt(name), wanted)) return;
    std::string full = directory + "\\" + name;
    upperFiles.push_back(UpperCaseAscii(full));
    files.Add(full);
  };
  // During an analysis the directory's one listing gives the same entries
  // in the same order as a search for the extension would.
  if (const std::vector<std::string>* names = ScopedDirectoryNames(directory)) {
    for (const std::string& name : *names) take(name);
    return;
  }
  ForEachFile(directory + "\\*." + extension, [&](const WIN32_FIND_DATAA& data) { take(data.cFileName); });
}

}  // namespace

TLocation::TLocation(const std::string& directory) { MoveTo(directory); }

void TLocation::MoveTo(const std::string& directory) {
  Path = ExpandFileName(directory);
  UpperPath = UpperCaseAscii(Path);
  Files.Clear();
  UpperFiles.clear();
  FirstOfUpperFile.clear();
  Unused = false;
  std::string scan = Path;
  if (!scan.empty() && scan.back() == '\\') scan.pop_back();
  // No directory given: nothing to list (not the root of the current drive).
  if (scan.empty()) return;
  // Units, then the project files (programs, packages, Free Pascal
  // programs), then the include files.
  for (const char* extension : {"PAS", "DPR", "DPK", "LPR", "INC"}) ScanDirectory(scan, extension, Files, UpperFiles);
  for (std::size_t i = 0; i < UpperFiles.size(); ++i) FirstOfUpperFile.try_emplace(UpperFiles[i], i);
}

TLocation::~TLocation() = default;

// ---------------------------------------------------------------- basic units

bool AddBasicUnit(const std::string& name) {
  if (BasicUnitCount >= MaxAddedBasicUnits) {
    Warning(Msg::BasicUnitsLimit);
    return false;
  }
  for (int i = 0; i < BasicUnitCount; ++i) {
    if (BasicUnits[i] == name) {
      Warning(Msg::BasicUnitDuplicate);
      return false;
    }
  }
  BasicUnits[BasicUnitCount++] = name;
  return true;
}

namespace {

// Removes the last entry equal to the name (exactly), or says it is missing.
void RemoveNameFrom(std::string* names, uint16_t& count, const std::string& name) {
  int found = -1;
  for (int i = 0; i < count; ++i)
    if (names[i] == name) found = i;
  if (found < 0) {
    Warning(name + Msg::BasicUnitMissing);
    return;
  }
  for (int i = found; i + 1 < count; ++i) names[i] = std::move(names[i + 1]);
  --count;
  names[count].clear();
}

}  // namespace

void RemoveBasicUnit(const std::string& name) { RemoveNameFrom(BasicUnits, BasicUnitCount, name); }

void ClearBasicUnits() {
  for (std::string& name : BasicUnits) name.clear();
  BasicUnitCount = 0;
}

// ---------------------------------------------------------------- unit scope names

bool AddScopeName(const std::string& name) {
  if (ScopeNameCount >= MaxAddedScopeNames) {
    Warning(Msg::ScopeNamesLimit);
    return false;
  }
  if (!IsDottedName(name)) {
    Warning("\"" + name + "\"" + Msg::ScopeNameInvalid);
    return false;
  }
  for (int i = 0; i < ScopeNameCount; ++i) {
    if (SameTextAscii(ScopeNames[i], name)) {
      Warning(Msg::ScopeNameDuplicate);
      return false;
    }
  }
  ScopeNames[ScopeNameCount++] = name;
  return true;
}

void RemoveScopeName(const std::string& name) { RemoveNameFrom(ScopeNames, ScopeNameCount, name); }

void SwapScopeNames(int i, int j) {
  if (i < 0 || j < 0 || i >= ScopeNameCount || j >= ScopeNameCount) return;
  std::swap(ScopeNames[i], ScopeNames[j]);
}

void ClearScopeNames() {
  for (std::string& name : ScopeNames) name.clear();
  ScopeNameCount = 0;
}

// ---------------------------------------------------------------- locations

bool IsLocationIndex(int index) { return index >= 0 && index < LocationCount; }

bool IsMovableLocation(int index) { return index >= 0 && index < LocationCount - 1; }

int FindLocation(const std::string& directory) {
  std::string upper = UpperCaseAscii(directory);
  for (int i = 0; i < LocationCount; ++i)
    if (Locations[i] && Locations[i]->UpperPath == upper) return i;
  return -1;
}

int AddLocation(int index, const std::string& directory, bool isExplicit) {
  if (LocationCount >= MaxAddedLocations) {
    Warning(Msg::LocationsLimit);
    return -1;
  }
  // A directory too long for the file functions would list nothing and find
  // nothing: say so rather than keep a location that silently stays empty.
  if (const std::string full = ExpandFileName(directory); IsPathTooLong(full)) {
    WarnPathTooLong(full + "\\");
    return -1;
  }
  int existing = FindLocation(directory);
  if (existing >= 0) {
    Locations[existing]->Explicit = isExplicit;
    return existing;
  }
  // Before the current-directory entry; before the first load there is no
  // such entry yet and the new one goes last.
  if (!IsMovableLocation(index)) index = LocationsLoaded ? std::max(0, LocationCount - 1) : LocationCount;
  const int oldCount = LocationCount;
  auto location = std::make_unique<TLocation>(directory);
  for (int i = oldCount; i > index; --i) Locations[i] = std::move(Locations[i - 1]);
  if (index > 0)
    location->Colour = Locations[index - 1]->Colour;
  else if (oldCount >= 2)
    location->Colour = Locations[index + 1]->Colour;
  else
    location->Colour = 0;
  location->Basic = false;
  location->Active = true;
  location->Explicit = isExplicit;
  Locations[index] = std::move(location);
  ++LocationCount;
  return index;
}

void DeleteLocation(int index) {
  if (!IsMovableLocation(index)) return;
  for (int i = index; i + 1 < LocationCount; ++i) Locations[i] = std::move(Locations[i + 1]);
  --LocationCount;
  Locations[LocationCount].reset();
}

void SwapLocations(int i, int j) {
  if (!IsMovableLocation(i) || !IsMovableLocation(j)) return;
  std::swap(Locations[i], Locations[j]);
}

void ClearLocations() {
  for (auto& location : Locations) location.reset();
  LocationCount = 0;
}

COLORREF LocationColour(int location) {
  if (location == LocationBasic) return BasicUnitsColour;
  if (location == LocationNotFound) return NotFoundColour;
  if (!IsLocationIndex(location) || !Locations[location]) return RGB(0, 0, 0);
  return Locations[location]->Colour;
}

int EffectiveLocation(int location) {
  if (IsLocationIndex(location) && Locations[location] && Locations[location]->Explicit) return LocationCount - 1;
  return location;
}

void MarkFileUsed(int location, const std::string& fileName, TFile* unit) {
  if (!IsLocationIndex(location) || !Locations[location]) return;
  TLocation& l = *Locations[location];
  std::string upper = UpperCaseAscii(ExpandFileName(fileName));
  // The first entry of that name that is not marked yet: its first entry,
  // or (names that differ only in case on a case-sensitive disk) a later one.
  const auto first = l.FirstOfUpperFile.find(upper);
  if (first == l.FirstOfUpperFile.end()) return;
  for (int i = static_cast<int>(first->second); i < l.Files.Count(); ++i) {
    if (l.Files.Objects[i]) continue;
    if (l.UpperFiles[i] == upper) {
      l.Files.Objects[i] = unit;
      return;
    }
  }
}

void ResetLocationMarks() {
  for (int i = 0; i < LocationCount; ++i) {
    if (!Locations[i]) continue;
    std::fill(Locations[i]->Files.Objects.begin(), Locations[i]->Files.Objects.end(), nullptr);
    Locations[i]->Unused = false;
    Locations[i]->Explicit = false;
  }
}

void RefreshCurrentDirectoryLocation() {
  // Before the first load the last entry may be one the user added.
  if (!LocationsLoaded || LocationCount == 0 || !Locations[LocationCount - 1]) return;
  std::unique_ptr<TLocation>& current = Locations[LocationCount - 1];
  auto fresh = std::make_unique<TLocation>(".");
  fresh->Colour = current->Colour;
  fresh->Basic = current->Basic;
  fresh->Active = current->Active;
  fresh->Explicit = current->Explicit;
  current = std::move(fresh);
}

int CountUnusedFiles() {
  int total = 0;
  for (int i = 0; i < LocationCount; ++i) {
    if (!Locations[i]) continue;
    TLocation& l = *Locations[i];
    l.Unused = false;
    int unused = static_cast<int>(std::count(l.Files.Objects.begin(), l.Files.Objects.end(), nullptr));
    if (unused == l.Files.Count())
      l.Unused = true;
    else
      total += unused;
  }
  return total;
}
