#include "Globales.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "Messages.h"
#include "uChaines.h"

std::unique_ptr<TLocation> Locations[LocationSlots];
uint16_t LocationCount = 0;
std::string BasicUnits[BasicUnitSlots];
uint16_t BasicUnitCount = 0;
COLORREF BasicUnitsColour = 0;
COLORREF NotFoundColour = 0;
std::string ImagesDirectory;
bool MSWord95 = true;
bool LocationsLoaded = false;
HICON MainIcon = nullptr;

namespace {

// Closes a FindFirstFile search.
class TFindHandle {
 public:
  explicit TFindHandle(HANDLE h) : Handle(h) {}
  ~TFindHandle() {
    if (Handle != INVALID_HANDLE_VALUE) FindClose(Handle);
  }
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  HANDLE Handle;
};

}  // namespace

// ---------------------------------------------------------------- files

std::string ExpandFileName(const std::string& fileName) {
  if (fileName.empty()) return fileName;
  std::string buffer(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return fileName;  // not a path the system can expand: keep it as given
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(n + 1, '\0');
  }
}

bool FileExists(const std::string& fileName) {
  if (fileName.empty()) return false;
  DWORD attributes = GetFileAttributesA(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ExtractFilePath(const std::string& fileName) {
  size_t i = fileName.find_last_of("\\:/");
  return i == std::string::npos ? std::string() : fileName.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& fileName) {
  size_t i = fileName.find_last_of("\\:/");
  return i == std::string::npos ? fileName : fileName.substr(i + 1);
}

std::string ExtractFileExt(const std::string& fileName) {
  size_t i = fileName.find_last_of(".\\:/");
  if (i == std::string::npos || fileName[i] != '.') return std::string();
  return fileName.substr(i);
}

// ---------------------------------------------------------------- search scope

namespace {

using TListing = std::unordered_set<std::string>;  // upper-case names of the files
std::unordered_map<std::string, TListing>* Listings = nullptr;
int ScopeDepth = 0;

// Names whose lookup the listing answers exactly; anything else (short
// names with '~', accented letters, paths, trailing dots) asks the system.
bool IsPlainName(const std::string& name) {
  if (name.empty() || name.back() == '.') return false;
  for (unsigned char c : name) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
              c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(".");
}

const TListing& Listing(const std::string& directory) {
  std::string dir = directory.empty() ? CurrentDirectory() : directory;
  if (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/') && dir[dir.size() - 2] != ':') dir.pop_back();
  auto [entry, added] = Listings->try_emplace(UpperCaseAscii(dir));
  if (added) {
    std::string pattern = dir;
    if (pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA data;
    TFindHandle search(FindFirstFileA(pattern.c_str(), &data));
    if (search.Handle != INVALID_HANDLE_VALUE) {
      do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) entry->second.insert(UpperCaseAscii(data.cFileName));
      } while (FindNextFileA(search.Handle, &data));
    }
  }
  return entry->second;
}

}  // namespace

TSearchScope::TSearchScope() {
  if (ScopeDepth++ == 0) Listings = new std::unordered_map<std::string, TListing>();
}

TSearchScope::~TSearchScope() {
  if (--ScopeDepth == 0) {
    delete Listings;
    Listings = nullptr;
  }
}

bool FileExistsIn(const std::string& directory, const std::string& name) {
  if (Listings && IsPlainName(name)) return Listing(directory).count(UpperCaseAscii(name)) > 0;
  return FileExists(directory + name);
}

std::string FileSearch(const std::string& name, const std::string& dirList) {
  if (name.empty()) return std::string();
  if (FileExistsIn(std::string(), name)) return name;
  return SearchDirectories(name, dirList);
}

std::string SearchDirectories(const std::string& name, const std::string& dirList) {
  if (name.empty()) return std::string();
  std::string rest = dirList;
  while (!rest.empty()) {
    std::string dir;
    SplitFirst(rest, ';', dir);
    if (dir.empty()) continue;  // the bare name is FileSearch's
    char last = dir.back();
    if (last != '\\' && last != '/' && last != ':') dir += '\\';
    if (FileExistsIn(dir, name)) return dir + name;
  }
  return std::string();
}

// ---------------------------------------------------------------- TLocation

namespace {

void ScanDirectory(const std::string& directory, const char* extension, TStringList& files,
                   std::vector<std::string>& upperFiles) {
  std::string pattern = directory + "\\*." + extension;
  WIN32_FIND_DATAA data;
  TFindHandle search(FindFirstFileA(pattern.c_str(), &data));
  if (search.Handle == INVALID_HANDLE_VALUE) return;
  const std::string wanted = std::string(".") + extension;
  do {
    // Every kind of entry is taken, directories and hidden files included;
    // but a longer extension matched through its short name ("x.pascal" as
    // X~1.PAS) is not a source file.
    if (!SameTextAscii(ExtractFileExt(data.cFileName), wanted)) continue;
    std::string full = directory + "\\" + data.cFileName;
    upperFiles.push_back(UpperCaseAscii(full));
    files.Add(full);
  } while (FindNextFileA(search.Handle, &data));
}

}  // namespace

TLocation::TLocation(const std::string& directory) {
  Path = ExpandFileName(directory);
  UpperPath = UpperCaseAscii(Path);
  std::string scan = Path;
  if (!scan.empty() && scan.back() == '\\') scan.pop_back();
  // No directory given: nothing to list (not the root of the current drive).
  if (scan.empty()) return;
  for (const char* extension : {"PAS", "DPR", "INC"}) ScanDirectory(scan, extension, Files, UpperFiles);
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

void RemoveBasicUnit(const std::string& name) {
  int found = -1;
  for (int i = 0; i < BasicUnitCount; ++i)
    if (BasicUnits[i] == name) found = i;
  if (found < 0) {
    Warning(name + Msg::BasicUnitMissing);
    return;
  }
  for (int i = found; i + 1 < BasicUnitCount; ++i) BasicUnits[i] = std::move(BasicUnits[i + 1]);
  --BasicUnitCount;
  BasicUnits[BasicUnitCount].clear();
}

void ClearBasicUnits() {
  for (std::string& name : BasicUnits) name.clear();
  BasicUnitCount = 0;
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
  if (location == -2) return BasicUnitsColour;
  if (location == -1) return NotFoundColour;
  if (!IsLocationIndex(location) || !Locations[location]) return RGB(0, 0, 0);
  return Locations[location]->Colour;
}

HPEN LocationPen(int location) { return CreatePen(PS_SOLID, 0, LocationColour(location)); }

HBRUSH LocationBrush(int location) { return CreateSolidBrush(LocationColour(location)); }

int EffectiveLocation(int location) {
  if (IsLocationIndex(location) && Locations[location] && Locations[location]->Explicit) return LocationCount - 1;
  return location;
}

void MarkFileUsed(int location, const std::string& fileName, TFile* unit) {
  if (!IsLocationIndex(location) || !Locations[location]) return;
  TLocation& l = *Locations[location];
  std::string upper = UpperCaseAscii(ExpandFileName(fileName));
  for (int i = 0; i < l.Files.Count(); ++i) {
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
