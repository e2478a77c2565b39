#include "Settings.h"

#include <cstdlib>
#include <vector>

#include "Analysis.h"
#include "Globales.h"
#include "Module.h"

std::unique_ptr<TRegIniFile> Settings;

namespace {

std::string TempDirectory() {
  std::string buffer(MAX_PATH + 1, '\0');
  for (;;) {
    DWORD n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) return std::string();
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(n + 1, '\0');
  }
}

// The number of stored entries before the first missing one, at most limit.
template <class TReadEntry>
int CountStored(int limit, TReadEntry readEntry) {
  std::string text;
  int n = 0;
  while (n < limit && readEntry(*Settings, n, text)) ++n;
  return n;
}

// A process that ends without SaveGlobalSettings (the program stopped by a
// fatal error, a test) still frees the model before the store: the
// basic-units box writes its title through it. Handlers registered with
// atexit run before the destructors of objects initialised earlier, the
// store among them.
void ReleaseModelBeforeTheStore() {
  static const bool registered = std::atexit([] { ReleaseModel(); }) == 0;
  (void)registered;
}

// Read as the basic units are: the stored names as they stand.
void LoadScopeNames() {
  ClearScopeNames();
  int32_t count = Reg::ReadScopeNameCount(*Settings);
  if (count == Reg::UnreadableCount) count = CountStored(MaxLoadedScopeNames, Reg::ReadScopeName);
  if (count > MaxLoadedScopeNames) count = MaxLoadedScopeNames;
  std::string name;
  for (int i = 0; i < count; ++i)
    if (Reg::ReadScopeName(*Settings, i, name)) ScopeNames[ScopeNameCount++] = name;
}

// A user who never listed a scope name gets no section for them.
void SaveScopeNames() {
  if (ScopeNameCount == 0 && !Settings->ValueExists(Reg::ScopeNames, Reg::Count)) return;
  Reg::WriteScopeNameCount(*Settings, ScopeNameCount);
  for (int i = 0; i < ScopeNameCount; ++i) Reg::WriteScopeName(*Settings, i, ScopeNames[i]);
}

}  // namespace

void LoadGlobalSettings() {
  ReleaseModelBeforeTheStore();
  Settings = std::make_unique<TRegIniFile>(Reg::ProductKey);
  ImagesDirectory = Reg::ReadImagesDirectory(*Settings, TempDirectory());
  ClearBasicUnits();
  // A count that cannot be read (written by hand as "4abc", negative) counts
  // the stored names instead, as the locations do: they are the user's.
  int32_t count = Reg::ReadBasicUnitCount(*Settings);
  if (count == Reg::UnreadableCount) count = CountStored(MaxLoadedBasicUnits, Reg::ReadBasicUnit);
  if (count > MaxLoadedBasicUnits) count = MaxLoadedBasicUnits;
  // A name that is missing is skipped: a made-up "#" would replace the
  // user's list at the next save.
  std::string name;
  for (int i = 0; i < count; ++i)
    if (Reg::ReadBasicUnit(*Settings, i, name)) BasicUnits[BasicUnitCount++] = name;
  LoadScopeNames();
  BasicUnitsColour = Reg::ReadBasicUnitsColour(*Settings);
  NotFoundColour = Reg::ReadNotFoundColour(*Settings);
  MSWord95 = Reg::ReadMSWord95(*Settings);
  MainIcon = LoadIconA(ThisModule(), "MAINICON");
}

void LoadLocations() {
  if (LocationsLoaded) return;
  // Without a store (a run that was given its lists) only "." is created.
  TRegIniFile* store = Settings.get();
  int32_t n = store ? Reg::ReadLocationCount(*store) : 0;
  if (n < 0 || n > MaxLoadedLocations) n = store ? CountStored(MaxLoadedLocations, Reg::ReadLocationPath) : 0;
  // Entries added before the first load (the locations editor opened before
  // any analysis) are kept, after the stored ones.
  std::vector<std::unique_ptr<TLocation>> earlier;
  for (int i = 0; i < LocationCount; ++i)
    if (Locations[i]) earlier.push_back(std::move(Locations[i]));
  ClearLocations();
  // With 100 stored locations the last one is not loaded: "." takes its slot.
  const int stored = std::min<int>(n, MaxLoadedLocations - 1);
  int count = 0;
  std::string path;
  for (int i = 0; i < stored; ++i) {
    // A location whose directory is missing is skipped rather than made up.
    if (!Reg::ReadLocationPath(*store, i, path)) continue;
    auto location = std::make_unique<TLocation>(path);
    // Kept, so that it is saved as it was, but the user learns why it finds nothing.
    if (IsPathTooLong(location->Path)) WarnPathTooLong(location->Path + "\\");
    location->Basic = Reg::ReadLocationBasic(*store, i);
    location->Active = Reg::ReadLocationActive(*store, i);
    location->Colour = Reg::ReadLocationColour(*store, i);
    Locations[count++] = std::move(location);
  }
  auto current = std::make_unique<TLocation>(".");
  current->Basic = false;
  current->Active = true;
  current->Colour = store ? Reg::ReadCurrentDirColour(*store) : 0;
  Locations[count++] = std::move(current);
  LocationCount = static_cast<uint16_t>(count);
  for (auto& location : earlier) {
    if (LocationCount >= MaxAddedLocations || FindLocation(location->Path) >= 0) continue;
    Locations[LocationCount] = std::move(Locations[LocationCount - 1]);
    Locations[LocationCount - 1] = std::move(location);
    ++LocationCount;
  }
  LocationsLoaded = true;
}

void SaveLocations() {
  if (!LocationsLoaded) return;
  for (int i = 0; i < LocationCount; ++i) {
    if (!Locations[i]) continue;
    if (Settings) {
      const TLocation& l = *Locations[i];
      if (i + 1 < LocationCount) {
        Reg::WriteLocationPath(*Settings, i, l.Path);
        Reg::WriteLocationBasic(*Settings, i, l.Basic);
        Reg::WriteLocationActive(*Settings, i, l.Active);
        Reg::WriteLocationColour(*Settings, i, l.Colour);
      } else {
        Reg::WriteCurrentDirColour(*Settings, l.Colour);
      }
    }
    Locations[i].reset();
  }
  LocationCount = 0;
  LocationsLoaded = false;
}

void SaveGlobalSettings() {
  if (Settings) {
    Reg::WriteImagesDirectory(*Settings, ImagesDirectory);
    Reg::WriteBasicUnitCount(*Settings, BasicUnitCount);
    for (int i = 0; i < BasicUnitCount; ++i) Reg::WriteBasicUnit(*Settings, i, BasicUnits[i]);
    SaveScopeNames();
    Reg::WriteBasicUnitsColour(*Settings, BasicUnitsColour);
    Reg::WriteNotFoundColour(*Settings, NotFoundColour);
    // The stored count is only rewritten with a list that was loaded: writing
    // -1 would make the next start count the directories, and so bring back
    // locations that the user had deleted (their values stay in the key).
    if (LocationsLoaded) Reg::WriteLocationCount(*Settings, LocationCount - 1);
  }
  SaveLocations();
  if (Settings) Reg::WriteMSWord95(*Settings, MSWord95);
  Settings.reset();
  ClearLocations();
  ClearBasicUnits();
  ClearScopeNames();
  ImagesDirectory.clear();
  MainIcon = nullptr;
}
