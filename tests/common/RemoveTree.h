// Directories of a test's own: named after the test and the process under
// the system's temporary directory, emptied before and removed after.
#pragma once

#include <windows.h>

#include <string>

#include "FindFile.h"

inline void RemoveTree(const std::string& dir) {
  ForEachFile(dir + "\\*", [&dir](const WIN32_FIND_DATAA& found) {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") return;
    const std::string path = dir + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  });
  RemoveDirectoryA(dir.c_str());
}

// The temporary directory's name + "\\" + name + "-" + the process id.
inline std::string TempPath(const std::string& name) {
  char buf[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buf);
  std::string path = buf;
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path + "\\" + name + "-" + std::to_string(GetCurrentProcessId());
}

// TempPath(name), empty (a run that was stopped may have left one).
inline std::string FreshDir(const std::string& name) {
  const std::string dir = TempPath(name);
  RemoveTree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}
