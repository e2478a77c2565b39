// A directory search: FindFirstFile, FindNextFile, and the search closed
// when its owner ends.
#pragma once

#include <windows.h>

#include <string>

class TFindFile {
 public:
  TFindFile() = default;
  ~TFindFile() { Close(); }
  TFindFile(const TFindFile&) = delete;
  TFindFile& operator=(const TFindFile&) = delete;

  // The first entry matching the pattern; false when there is none (or the
  // directory does not exist).
  bool FindFirst(const std::string& pattern, WIN32_FIND_DATAA& data) {
    Close();
    handle_ = FindFirstFileA(pattern.c_str(), &data);
    return handle_ != INVALID_HANDLE_VALUE;
  }
  bool FindNext(WIN32_FIND_DATAA& data) { return handle_ != INVALID_HANDLE_VALUE && FindNextFileA(handle_, &data); }
  void Close() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Calls visit(data) for every entry matching the pattern, in the order the
// system gives them.
template <class TVisit>
void ForEachFile(const std::string& pattern, TVisit visit) {
  TFindFile search;
  WIN32_FIND_DATAA data;
  for (bool found = search.FindFirst(pattern, data); found; found = search.FindNext(data)) visit(data);
}
