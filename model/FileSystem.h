// The file system as the analysis sees it: full names, existence, the parts
// of a name, and the search for a name through a list of directories.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// The longest full path that the file functions take: MAX_PATH less its NUL.
// Longer paths cannot be opened or made current, so they are reported
// instead of being taken for missing files.
inline constexpr std::size_t MaxPathLength = MAX_PATH - 1;
bool IsPathTooLong(const std::string& fullPath);
// "The path "..." is longer than the 259 characters that Windows allows."
std::string PathTooLongText(const std::string& fullPath);
// Warns about a path beyond the limit, once per directory until the next
// ResetPathWarnings: a location full of such names gives one message.
void WarnPathTooLong(const std::string& fullPath);
void ResetPathWarnings();

// The full path of a name, also beyond MaxPathLength: never a relative one.
std::string ExpandFileName(const std::string& fileName);
bool FileExists(const std::string& fileName);              // an existing file, not a directory
std::string ExtractFilePath(const std::string& fileName);  // directory part with its backslash
std::string ExtractFileName(const std::string& fileName);  // without the directory part
std::string ExtractFileExt(const std::string& fileName);   // ".ext" or empty
// The directory without its trailing backslash, except on a drive root
// ("C:\"), which would otherwise name the drive's current directory.
std::string WithoutTrailingBackslash(const std::string& directory);
// The directory part of a file name, as WithoutTrailingBackslash gives it.
std::string ExtractFileDir(const std::string& fileName);

// The name relative to the current directory, then in each directory of the
// ";"-separated list; the first existing file, or empty.
std::string FileSearch(const std::string& name, const std::string& dirList);
// The same without the bare name: only the directories of the list. A
// directory where the name would make a path too long is reported
// (WarnPathTooLong) and passed over.
std::string SearchDirectories(const std::string& name, const std::string& dirList);
// Whether directory + name is an existing file; an empty directory is the
// current one. Inside a TSearchScope, plain names (ASCII letters, digits,
// '_', '-', '.') are answered from one listing per directory.
bool FileExistsIn(const std::string& directory, const std::string& name);
// The name to open a found file by: inside a TSearchScope, a plain name that
// its directory's listing holds is spelled as the disk spells it (the
// directory part as given); otherwise the name as given. Wine matches a name
// that differs from the disk's in letter case only by reading the whole
// directory, at every open: a project's units, searched as "NAME.PAS" and
// written as "Name.pas", would cost a directory read each.
std::string OnDiskName(const std::string& fileName);

// Inside a TSearchScope, the names of every entry of a directory (files,
// directories, "." and ".."), as on the disk, as the scope's one listing of
// it reads them; nullptr outside a scope.
const std::vector<std::string>* ScopedDirectoryNames(const std::string& directory);

// One pass of the analysis looks up each unit in several directories; a
// query of the file system per name and directory is slow on some systems,
// so while a scope is open each directory is listed once. Files created
// meanwhile in a directory already listed are seen by the next scope.
class TSearchScope {
 public:
  TSearchScope();
  ~TSearchScope();
  TSearchScope(const TSearchScope&) = delete;
  TSearchScope& operator=(const TSearchScope&) = delete;
};
