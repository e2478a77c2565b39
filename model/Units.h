// The model of an analysed project: one TFile per source file that the
// project names directly or indirectly, held by the project-wide FileArray.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Globales.h"
#include "PASCAL.h"

class TFileArray;
class TfEditeur;

class TFile {
 public:
  // Resolves the file through the locations (or the path given after IN);
  // never analyses. Without an IN path the name is searched as a unit
  // (".PAS"), or as a project (".DPR") for the file that the user opened.
  // Resolving changes process-wide state: an IN path's directory is added
  // to Locations (and sets ImplicitLocationsFound), a path too long is
  // warned about, and a found file is marked used in its location.
  TFile(const std::string& name, const std::string& inPath, bool isProject = false,
        const std::string& projectExtension = ".DPR");
  // A unit whose file the caller has already searched for: the location
  // where SearchLocations found it (or LocationNotFound) and the file.
  TFile(const std::string& name, int32_t location, const std::string& fileName);
  virtual ~TFile();
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // A record that is not searched for at all (not found, no uses): the
  // project of a directory that cannot be entered.
  static TFile* Unresolved(const std::string& name);

  // Reads the uses clauses once, depth first, then computes Level.
  void Analyse();
  void ComputeLevel();

  bool IsUnit = false;
  bool Analysed = false;
  std::string FileName;  // as the search returned it; empty when not resolved
  int32_t Location = LocationNotFound;  // an index of Locations, LocationNotFound or LocationBasic
  uint16_t BasicIndex = 0;
  std::string Name;  // as first written
  std::unique_ptr<TFileArray> InterfaceUses;       // refers to units, owns none
  std::unique_ptr<TFileArray> ImplementationUses;  // (or the program's only clause)
  uint16_t Level = 0;
  POINT Anchor{0, 0};           // where links to this unit end
  RECT LabelRect{0, 0, 0, 0};   // the unit's label on the diagram
  uint16_t LinkPitch = 0;
  TfEditeur* Editor = nullptr;  // its source editor, created on first use
  bool Hidden = false;
  bool Found = false;  // Location is an index of Locations

 protected:
  TFile() = default;  // for TUBase: no lists, no resolution

 private:
  void ScanFile();
  // One entry of a uses clause: the unit it names joins the clause's list.
  void AddEntry(TUsesClause clause, const std::string& name, const std::string& path);
  // The end of the resolution, once the file is searched: the basic-unit
  // names, then the flags of the location where it was found.
  void Settle();
};

// While one exists, each file's uses entries are remembered for the time of
// the run, so that a restarted pass resolves them again without reading the
// file a second time (the entries only: names and paths, never the text).
class TScanMemory {
 public:
  TScanMemory();
  ~TScanMemory();
  TScanMemory(const TScanMemory&) = delete;
  TScanMemory& operator=(const TScanMemory&) = delete;
};

// The locations' search for a file name, the current directory first: the
// index of the first location that holds it (basic and inactive ones
// included) with fileName as the search returned it, or LocationNotFound.
int32_t SearchLocations(const std::string& searchName, std::string& fileName);
// Whether a unit of that name is a basic unit by the list (names and
// patterns with '*'), and the index of the last entry that matches it.
bool IsBasicUnitName(const std::string& name, uint16_t& index);

// Stands on the diagram for all basic units together. Name is the box's
// title and Hidden its mark; both persist in the settings store.
class TUBase : public TFile {
 public:
  TUBase();
  ~TUBase() override;
};

class TFileArray {
 public:
  static constexpr int Slots = 1001;
  static constexpr uint16_t MaxUnits = 1000;  // admitted by FindOrAdd
  static constexpr uint16_t NotFound = 65535;

  // The project-wide array owns its units; per-unit lists only refer to them.
  explicit TFileArray(bool ownsItems = false);
  ~TFileArray();
  TFileArray(const TFileArray&) = delete;
  TFileArray& operator=(const TFileArray&) = delete;

  // Appends (duplicates allowed) and analyses at once unless Deferring;
  // nil is ignored. A full list drops the entry.
  TFile* Add(TFile* file);
  // Analyses the project file first, then every unit it brought in.
  void AddRoot(TFile* root);
  // The entry with that name (case-insensitive), or a new one; nil when the
  // array is full.
  // Without an IN path, the unit scope names are tried too (ScopeNames).
  TFile* FindOrAdd(const std::string& name, const std::string& inPath);
  // The first entry with that name (case-insensitive), or nil.
  TFile* Find(const std::string& name) const;
  // The first index holding file, or NotFound.
  uint16_t IndexOf(const TFile* file) const;
  // To be called after the entries were rearranged in place (Add says so itself).
  void ItemsReordered() { PositionsValid_ = false; }
  uint16_t GetCount() const { return Count; }
  uint16_t MaxLevel() const;
  // Rearranges the entries into branch order, then each unit's lists.
  void Sort();

  uint16_t Count = 0;
  TFile* Items[Slots] = {};
  bool Sorted = true;
  int32_t LinkPitch = 0;
  int32_t LabelWidth = 0;
  int32_t RowHeight = 0;
  uint16_t NotFoundCount = 0;
  int32_t BasicCount = 0;
  uint16_t FirstFoundIndex = 0;
  uint16_t RowCount = 0;
  TFile* Root = nullptr;
  const bool OwnsItems;
  // In a unit's list: the entries as the clause names them; Sort rearranges
  // Items only, so the exports can still give the source's order.
  std::vector<TFile*> InSourceOrder;
  // In the project-wide array: the entries that this array or a unit's list
  // had no room for, and whether the user has been told (once per run).
  uint32_t DroppedEntries = 0;
  bool RoomWarned = false;

 private:
  // The project-wide array answers Find and IndexOf from indexes (a
  // thousand units look each other up tens of thousands of times); a unit's
  // short lists are searched in order. Upper-case name -> first entry.
  std::unordered_map<std::string, TFile*> ByName_;
  void IndexItem(TFile* file);
  // What FindOrAdd's entry names: a unit already held (known), or a new
  // record not yet added (nil when the array is full).
  TFile* Resolve(const std::string& name, const std::string& inPath, bool& known);
  mutable std::unordered_map<const TFile*, uint16_t> Positions_;
  mutable bool PositionsValid_ = false;
};

// An entry that a full array or list cannot take: the first of a run is
// warned about (Cancel ends the program, after saving the settings), the
// rest are only counted in FileArray, so that a clause of thousands of names
// does not ask thousands of times.
void DropEntry();

// Called by a unit record that is freed while it still has an editor, so
// that the editor can drop its reference to it (nullptr: nothing to call).
using TUnitReleaseHook = void (*)(TFile* unit);
extern TUnitReleaseHook OnUnitRelease;

// State of the current analysis.
extern std::unique_ptr<TFileArray> FileArray;
extern std::unique_ptr<TUBase> UBase;
extern bool Deferring;      // AddRoot is analysing the project file
extern bool ImplicitLocationsFound;  // an IN path added a location
