// Locations (the ordered search directories) and basic units: the two
// process-wide lists that steer where units are looked for and how the
// diagram colours them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FileSystem.h"
#include "Ridarar.h"

class TFile;

// Texts with one object slot each (the unit record resolved to that file, or nil).
class TStringList {
 public:
  std::vector<std::string> Strings;
  std::vector<TFile*> Objects;

  int Count() const { return static_cast<int>(Strings.size()); }
  void Add(const std::string& text, TFile* object = nullptr) {
    Strings.push_back(text);
    Objects.push_back(object);
  }
  void Clear() {
    Strings.clear();
    Objects.clear();
  }
};

class TLocation {
 public:
  // Expands the directory to a full path and takes a snapshot of its PAS,
  // DPR, DPK, LPR and INC files (a missing directory gives empty lists).
  explicit TLocation(const std::string& directory);
  virtual ~TLocation();
  TLocation(const TLocation&) = delete;
  TLocation& operator=(const TLocation&) = delete;
  // Points the location at another directory, with a fresh snapshot of its
  // files; what the user set (colour, flags) stays.
  void MoveTo(const std::string& directory);

  std::string Path;       // full path; a drive root keeps its backslash
  std::string UpperPath;  // key of every lookup by directory
  COLORREF Colour = 0;
  bool Basic = false;
  bool Active = true;
  TStringList Files;                    // full names, objects = unit records using them
  std::vector<std::string> UpperFiles;  // index for index with Files
  // Where each of UpperFiles first stands, so that marking a file used does
  // not compare it with the whole list.
  std::unordered_map<std::string, std::size_t> FirstOfUpperFile;
  bool Unused = false;
  bool Explicit = false;
};

// A unit's location: 0 or more is an entry of Locations; these two say where
// a unit stands when it is in none.
inline constexpr int32_t LocationNotFound = -1;  // not found, or only in an inactive location
inline constexpr int32_t LocationBasic = -2;     // a basic unit (by name or by its location)

inline constexpr int LocationSlots = 101;     // Locations[0..100]
inline constexpr int MaxAddedLocations = 99;  // additions stop here, "." included
inline constexpr int MaxLoadedLocations = 100;
inline constexpr int BasicUnitSlots = 51;     // BasicUnits[0..50]
inline constexpr int MaxAddedBasicUnits = 49;
inline constexpr int MaxLoadedBasicUnits = 50;
inline constexpr int ScopeNameSlots = 51;     // ScopeNames[0..50]
inline constexpr int MaxAddedScopeNames = 49;
inline constexpr int MaxLoadedScopeNames = 50;

// Entries 0..LocationCount-1 are in use; the last one is the current
// directory ("."). Freed slots are null.
extern std::unique_ptr<TLocation> Locations[LocationSlots];
extern uint16_t LocationCount;

extern std::string BasicUnits[BasicUnitSlots];
extern uint16_t BasicUnitCount;

// Unit scope names, in the order they are tried: "SysUtils" with the scope
// "System" may be the unit "System.SysUtils" (the compiler's namespaces).
extern std::string ScopeNames[ScopeNameSlots];
extern uint16_t ScopeNameCount;

extern COLORREF BasicUnitsColour;
extern COLORREF NotFoundColour;
extern std::string ImagesDirectory;  // pictures for the document
extern bool MSWord95;                // true: WordBasic, false: Word object model
extern bool LocationsLoaded;         // the locations were read from the settings store

// Basic units. Both report through Warning and leave the list unchanged on refusal.
bool AddBasicUnit(const std::string& name);
void RemoveBasicUnit(const std::string& name);

// Unit scope names. AddScopeName appends the name as given; it refuses, with
// a Warning, the 50th name, a name already listed (in any letter case: both
// would find the same units) and a text that is not identifiers separated by
// dots. True when the name was appended.
bool AddScopeName(const std::string& name);
void RemoveScopeName(const std::string& name);
// Exchanges two names (the order in which they are tried); indices outside
// the list are ignored.
void SwapScopeNames(int i, int j);

// Index of the location whose path equals the directory (case-insensitive), or -1.
int FindLocation(const std::string& directory);
// Inserts a location for the directory at the index (just before "." when the
// index is not a movable one); an existing one only gets its Explicit flag.
// Result: the index holding the directory, -1 when the list is full.
int AddLocation(int index, const std::string& directory, bool isExplicit);
void DeleteLocation(int index);
void SwapLocations(int i, int j);
bool IsMovableLocation(int index);
bool IsLocationIndex(int index);

// Colour of a unit's location index (the drawing makes its pen and brush).
COLORREF LocationColour(int location);
// An explicit location ranks as the current directory.
int EffectiveLocation(int location);

// Links the location's entry for the file to the unit record.
void MarkFileUsed(int location, const std::string& fileName, TFile* unit);
// Every location forgets its usage marks and its Explicit flag.
void ResetLocationMarks();
// The current-directory entry ("." of a loaded list) takes the directory
// that is current now: its path and a fresh list of its files, with its
// colour and flags kept. An analysis calls it once the project's directory
// is current.
void RefreshCurrentDirectoryLocation();
// Unused files in locations that hold at least one used file; sets Unused.
int CountUnusedFiles();

// Frees every location (the list becomes empty) and clears the basic units.
void ClearLocations();
void ClearBasicUnits();
void ClearScopeNames();

