// Removes a directory of a test's own with everything in it.
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
