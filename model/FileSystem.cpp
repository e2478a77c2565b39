#include "FileSystem.h"

#include <memory>
#include <set>
#include <unordered_map>

#include "FindFile.h"
#include "Ridarar.h"
#include "WideText.h"
#include "uChaines.h"

// ---------------------------------------------------------------- long paths

namespace {
std::set<std::string> ReportedDirectories;  // upper case
}  // namespace

bool IsPathTooLong(const std::string& fullPath) { return fullPath.size() > MaxPathLength; }

std::string PathTooLongText(const std::string& fullPath) {
  return "The path \"" + fullPath + "\" is longer than the " + std::to_string(MaxPathLength) +
         " characters that Windows allows.";
}

void WarnPathTooLong(const std::string& fullPath) {
  if (ReportedDirectories.insert(UpperCaseAscii(ExtractFileDir(fullPath))).second) Warning(PathTooLongText(fullPath));
}

void ResetPathWarnings() { ReportedDirectories.clear(); }

// ---------------------------------------------------------------- names

std::string ExpandFileName(const std::string& fileName) {
  if (fileName.empty()) return fileName;
  // The wide function, which has no MAX_PATH limit: a long path expands to
  // its full form like any other, and is then reported as too long.
  const std::wstring name = WidenFileName(fileName);
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetFullPathNameW(name.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return fileName;  // not a path the system can expand: keep it as given
    if (n < buffer.size()) {
      buffer.resize(n);
      return NarrowFileName(buffer);
    }
    buffer.assign(n + 1, L'\0');
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

std::string WithoutTrailingBackslash(const std::string& directory) {
  std::string dir = directory;
  if (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/') && dir[dir.size() - 2] != ':') dir.pop_back();
  return dir;
}

std::string ExtractFileDir(const std::string& fileName) { return WithoutTrailingBackslash(ExtractFilePath(fileName)); }

// ---------------------------------------------------------------- search scope

namespace {

// The files of one directory: upper-case name -> the name as on the disk.
using TListing = std::unordered_map<std::string, std::string>;
// One directory as a scope read it: its entries' names, and its files by name.
struct TSnapshot {
  std::vector<std::string> Names;
  TListing Files;
};
std::unique_ptr<std::unordered_map<std::string, TSnapshot>> Listings;
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

const TSnapshot& Snapshot(const std::string& directory) {
  const std::string dir = WithoutTrailingBackslash(directory.empty() ? CurrentDirectory() : directory);
  auto [entry, added] = Listings->try_emplace(UpperCaseAscii(dir));
  if (added) {
    std::string pattern = dir;
    if (pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
    TSnapshot& snapshot = entry->second;
    ForEachFile(pattern + '*', [&](const WIN32_FIND_DATAA& data) {
      snapshot.Names.push_back(data.cFileName);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        snapshot.Files.try_emplace(UpperCaseAscii(data.cFileName), data.cFileName);
    });
  }
  return entry->second;
}

const TListing& Listing(const std::string& directory) { return Snapshot(directory).Files; }

}  // namespace

TSearchScope::TSearchScope() {
  if (ScopeDepth++ == 0) Listings = std::make_unique<std::unordered_map<std::string, TSnapshot>>();
}

const std::vector<std::string>* ScopedDirectoryNames(const std::string& directory) {
  return Listings && !directory.empty() ? &Snapshot(directory).Names : nullptr;
}

TSearchScope::~TSearchScope() {
  if (--ScopeDepth == 0) Listings.reset();
}

bool FileExistsIn(const std::string& directory, const std::string& name) {
  if (Listings && IsPlainName(name)) return Listing(directory).count(UpperCaseAscii(name)) > 0;
  return FileExists(directory + name);
}

std::string OnDiskName(const std::string& fileName) {
  const std::string name = ExtractFileName(fileName);
  if (!Listings || !IsPlainName(name)) return fileName;
  const std::string directory = ExtractFilePath(fileName);
  const TListing& listing = Listing(directory);
  const auto found = listing.find(UpperCaseAscii(name));
  return found == listing.end() ? fileName : directory + found->second;
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
    if (IsPathTooLong(dir + name)) {
      WarnPathTooLong(dir + name);
      continue;
    }
    if (FileExistsIn(dir, name)) return dir + name;
  }
  return std::string();
}
