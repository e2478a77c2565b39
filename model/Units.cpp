#include "Units.h"

#include <algorithm>
#include <cstdio>

#include "BufLec.h"
#include "Globales.h"
#include "Messages.h"
#include "PASCAL.h"
#include "Ridarar.h"
#include "ScopeExit.h"
#include "Settings.h"
#include "Yield.h"
#include "uChaines.h"

std::unique_ptr<TUBase> UBase;
std::unique_ptr<TFileArray> FileArray;
bool Deferring = false;
bool ImplicitLocationsFound = false;
TUnitReleaseHook OnUnitRelease = nullptr;

// ---------------------------------------------------------------- TFile

int32_t SearchLocations(const std::string& searchName, std::string& fileName) {
  // The current directory (last entry) first, the first entry last. Each
  // location's search tries the bare name first, so when it exists the
  // first location tried takes it; it is looked at once, not per location.
  const bool bare = LocationCount > 0 && FileExistsIn(std::string(), searchName);
  for (int i = LocationCount - 1; i >= 0; --i) {
    if (!Locations[i]) continue;
    fileName = bare ? searchName : SearchDirectories(searchName, Locations[i]->Path);
    if (!fileName.empty()) return i;
  }
  fileName.clear();
  return LocationNotFound;
}

bool IsBasicUnitName(const std::string& name, uint16_t& index) {
  bool matched = false;
  // Every name is compared; the last match wins.
  for (int i = 0; i < BasicUnitCount; ++i) {
    if (MatchesPatternAscii(name, BasicUnits[i])) {
      matched = true;
      index = static_cast<uint16_t>(i);
    }
  }
  return matched;
}

TFile::TFile(const std::string& name, const std::string& inPath, bool isProject, const std::string& projectExtension)
    : Name(name), InterfaceUses(std::make_unique<TFileArray>()), ImplementationUses(std::make_unique<TFileArray>()) {
  Location = LocationNotFound;
  std::string searchName;
  if (inPath.empty()) {
    searchName = name + (isProject ? projectExtension : ".PAS");
  } else if (ExtractFilePath(inPath).empty()) {
    searchName = inPath;
  } else {
    searchName = ExtractFileName(inPath);
    FileName = ExpandFileName(inPath);
    // A path too long to be opened is said so, not taken for a missing file.
    if (IsPathTooLong(FileName)) {
      WarnPathTooLong(FileName);
    } else if (FileExistsIn(ExtractFilePath(FileName), ExtractFileName(FileName))) {
      std::string dir = ExtractFileDir(FileName);
      int i = FindLocation(dir);
      if (i >= 0) {
        Locations[i]->Explicit = true;
        Location = i;
      } else {
        i = AddLocation(-1, dir, true);
        if (i >= 0) {
          Location = i;
          ImplicitLocationsFound = true;
        }
      }
    }
  }

  if (Location == LocationNotFound) Location = SearchLocations(searchName, FileName);
  Settle();
}

TFile::TFile(const std::string& name, int32_t location, const std::string& fileName)
    : Name(name), InterfaceUses(std::make_unique<TFileArray>()), ImplementationUses(std::make_unique<TFileArray>()) {
  Location = location;
  FileName = location == LocationNotFound ? std::string() : fileName;
  Settle();
}

void TFile::Settle() {
  if (Location == LocationNotFound && BasicUnitCount > 0 && IsBasicUnitName(Name, BasicIndex)) Location = LocationBasic;

  if (Location >= 0) {
    if (Locations[Location]->Basic) {
      Location = LocationBasic;
      FileName.clear();
    } else if (!Locations[Location]->Active) {
      Location = LocationNotFound;
      FileName.clear();
    }
  }

  Analysed = false;
  Hidden = false;
  Editor = nullptr;
  Found = Location >= 0;
  if (Found) MarkFileUsed(Location, FileName, this);
}

TFile* TFile::Unresolved(const std::string& name) {
  auto* file = new TFile();
  file->Name = name;
  file->InterfaceUses = std::make_unique<TFileArray>();
  file->ImplementationUses = std::make_unique<TFileArray>();
  file->Location = LocationNotFound;
  return file;
}

TFile::~TFile() {
  if (Editor && OnUnitRelease) OnUnitRelease(this);
}

// ---------------------------------------------------------------- scans of a run

namespace {

struct TScanEntry {
  TUsesClause Clause;
  std::string Name, Path;
};
struct TScanRecord {
  bool IsUnit = false;
  std::vector<TScanEntry> Entries;
};
// Upper-case file name -> what its scan gave; nil outside a TScanMemory.
// Records are never changed once stored, and the map's nodes do not move, so
// a record being replayed stays valid while the units it names are analysed.
std::unique_ptr<std::unordered_map<std::string, TScanRecord>> ScanMemory;

// Out of line, like the scan itself: TFile::Analyse is on the stack once per
// level of a chain of units.
[[gnu::noinline]] const TScanRecord* RememberedScan(const std::string& fileName) {
  if (!ScanMemory) return nullptr;
  const auto found = ScanMemory->find(UpperCaseAscii(fileName));
  return found == ScanMemory->end() ? nullptr : &found->second;
}

[[gnu::noinline]] void NoteEntry(TScanRecord& record, TUsesClause clause, const std::string& name,
                                 const std::string& path) {
  record.Entries.push_back({clause, name, path});
}

[[gnu::noinline]] void RememberScan(const std::string& fileName, TScanRecord&& record) {
  if (ScanMemory) ScanMemory->try_emplace(UpperCaseAscii(fileName), std::move(record));
}

}  // namespace

TScanMemory::TScanMemory() { ScanMemory = std::make_unique<std::unordered_map<std::string, TScanRecord>>(); }

TScanMemory::~TScanMemory() { ScanMemory.reset(); }

void TFile::Analyse() {
  if (Analysed) return;
  Analysed = true;
  if (!FileName.empty()) {
    SetStatusUnit(Name);
    ScanFile();
  }
  ComputeLevel();
}

void TFile::AddEntry(TUsesClause clause, const std::string& name, const std::string& path) {
  if (!FileArray) return;
  TFile* unit = FileArray->FindOrAdd(name, path);
  TFileArray* list = clause == TUsesClause::Interface ? InterfaceUses.get() : ImplementationUses.get();
  if (list) list->Add(unit);
}

// Kept out of Analyse, with the record on the heap: Analyse is on the stack
// once per level of a chain of units. The file is read to the end of its
// clauses and closed before the units it names are analysed, so a chain of
// units holds one open file and one buffer at a time, not one per level.
[[gnu::noinline]] void TFile::ScanFile() {
  const auto addEntries = [this](const TScanRecord& record) {
    for (const TScanEntry& entry : record.Entries) AddEntry(entry.Clause, entry.Name, entry.Path);
  };
  if (const TScanRecord* known = RememberedScan(FileName)) {
    IsUnit = known->IsUnit;
    addEntries(*known);
    return;
  }
  auto record = std::make_unique<TScanRecord>();
  try {
    record->IsUnit = ScanUses(OnDiskName(FileName), [r = record.get()](TUsesClause clause, const std::string& name,
                                                                       const std::string& path) {
      NoteEntry(*r, clause, name, path);
    });
  } catch (const EInOutError&) {
    // A file that fails part way keeps the entries read before the failure.
    addEntries(*record);
    throw;
  }
  IsUnit = record->IsUnit;
  addEntries(*record);
  RememberScan(FileName, std::move(*record));
}

void TFile::ComputeLevel() {
  uint16_t highest = 0;
  if (InterfaceUses) highest = InterfaceUses->MaxLevel();
  if (ImplementationUses) highest = std::max(highest, ImplementationUses->MaxLevel());
  Level = static_cast<uint16_t>(highest + 1);
}

// ---------------------------------------------------------------- TUBase

TUBase::TUBase() {
  Name = Settings ? Reg::ReadBasicUnitsTitle(*Settings) : Msg::DefaultBasicUnitsTitle;
  Hidden = Settings ? Reg::ReadBasicUnitsHidden(*Settings) : false;
  Location = LocationBasic;
  Analysed = true;
  Found = false;
}

TUBase::~TUBase() {
  if (!Settings) return;
  Reg::WriteBasicUnitsTitle(*Settings, Name);
  Reg::WriteBasicUnitsHidden(*Settings, Hidden);
}

// ---------------------------------------------------------------- TFileArray

TFileArray::TFileArray(bool ownsItems) : OwnsItems(ownsItems) {}

TFileArray::~TFileArray() {
  if (!OwnsItems) return;
  for (int i = 0; i < Count; ++i) {
    delete Items[i];
    Items[i] = nullptr;
  }
}

TFile* TFileArray::Add(TFile* file) {
  if (!file) return nullptr;
  if (Count >= Slots) {
    // Only a clause that repeats names can fill a list; the entry is dropped.
    DropEntry();
    if (OwnsItems) {
      delete file;
      return nullptr;
    }
    return file;
  }
  Items[Count++] = file;
  if (!OwnsItems) InSourceOrder.push_back(file);
  Sorted = false;
  if (OwnsItems) IndexItem(file);
  if (!Deferring || file == Root) file->Analyse();
  return file;
}

void TFileArray::AddRoot(TFile* root) {
  Root = root;
  {
    Deferring = true;
    const TScopeExit endDeferring([] { Deferring = false; });
    if (!Add(root)) Root = nullptr;
  }
  const uint16_t count = Count;
  for (uint16_t i = 0; i < count; ++i)
    if (Items[i]) Items[i]->Analyse();
  if (Root) Root->ComputeLevel();
}

// Find and IndexItem stay out of line: FindOrAdd and Add are on the stack
// once per level of a chain of units, and their locals need not be.
[[gnu::noinline]] void TFileArray::IndexItem(TFile* file) {
  PositionsValid_ = false;
  ByName_.try_emplace(UpperCaseAscii(file->Name), file);
}

[[gnu::noinline]] TFile* TFileArray::Find(const std::string& name) const {
  if (OwnsItems) {
    const auto found = ByName_.find(UpperCaseAscii(name));
    return found == ByName_.end() ? nullptr : found->second;
  }
  for (int i = 0; i < Count; ++i)
    if (Items[i] && SameTextAscii(Items[i]->Name, name)) return Items[i];
  return nullptr;
}

TFile* TFileArray::FindOrAdd(const std::string& name, const std::string& inPath) {
  bool known = false;
  TFile* unit = Resolve(name, inPath, known);
  return known || !unit ? unit : Add(unit);
}

// Out of line, with its strings: FindOrAdd is on the stack once per level of
// a chain of units, and the resolution is over before the new unit is added
// (and analysed).
[[gnu::noinline]] TFile* TFileArray::Resolve(const std::string& name, const std::string& inPath, bool& known) {
  known = true;
  if (TFile* unit = Find(name)) return unit;
  // Without an IN path, the unit scope names are tried after the name as
  // written: "SysUtils" may be "System.SysUtils". A scope looks only at the
  // units already met and at the files of the locations; the basic-unit
  // names apply to the name as written, once no scope found anything.
  int32_t location = LocationNotFound;
  std::string fileName;
  std::string unitName = name;
  const bool scoped = inPath.empty() && ScopeNameCount > 0;
  if (scoped) {
    location = SearchLocations(name + ".PAS", fileName);
    for (int i = 0; location == LocationNotFound && i < ScopeNameCount; ++i) {
      std::string qualified = ScopeNames[i] + "." + name;
      if (TFile* unit = Find(qualified)) return unit;
      location = SearchLocations(qualified + ".PAS", fileName);
      if (location != LocationNotFound) unitName = std::move(qualified);
    }
  }
  known = false;
  if (Count >= MaxUnits) {
    DropEntry();
    return nullptr;
  }
  return scoped ? new TFile(unitName, location, fileName) : new TFile(name, inPath);
}

void DropEntry() {
  TFileArray* project = FileArray.get();
  if (project) {
    ++project->DroppedEntries;
    if (project->RoomWarned) return;
    project->RoomWarned = true;
  }
  WarnOrStop(Msg::UnitsArrayFull);
}

uint16_t TFileArray::IndexOf(const TFile* file) const {
  if (OwnsItems) {
    if (!PositionsValid_) {
      Positions_.clear();
      for (int i = Count - 1; i >= 0; --i)
        if (Items[i]) Positions_[Items[i]] = static_cast<uint16_t>(i);
      PositionsValid_ = true;
    }
    const auto found = Positions_.find(file);
    return found == Positions_.end() ? NotFound : found->second;
  }
  for (int i = 0; i < Count; ++i)
    if (Items[i] == file) return static_cast<uint16_t>(i);
  return NotFound;
}

uint16_t TFileArray::MaxLevel() const {
  uint16_t highest = 0;
  for (int i = 0; i < Count; ++i)
    if (Items[i]) highest = std::max(highest, Items[i]->Level);
  return highest;
}
