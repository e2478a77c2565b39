// An owned directory search (FindFirstFile), closed when its owner ends;
// ownership moves with Attach and Detach.
#pragma once

#include <windows.h>

#include <string>

class TFindHandle {
 public:
  TFindHandle() = default;
  // Starts a search; Valid() tells whether it found a first entry.
  TFindHandle(const std::string& pattern, WIN32_FIND_DATAA& found)
      : handle_(FindFirstFileA(pattern.c_str(), &found)) {}
  ~TFindHandle() { Close(); }
  TFindHandle(TFindHandle&& other) noexcept : handle_(other.Detach()) {}
  TFindHandle& operator=(TFindHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Next(WIN32_FIND_DATAA& found) { return Valid() && FindNextFileA(handle_, &found); }

  void Attach(HANDLE h) {
    Close();
    handle_ = h;
  }
  HANDLE Detach() {
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return h;
  }
  void Close() {
    if (Valid()) FindClose(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
