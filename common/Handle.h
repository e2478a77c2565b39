// Owner of one kernel object handle (event, thread, file...): CloseHandle
// when the owner ends or takes another. Both "no handle" values of the API
// (nullptr and INVALID_HANDLE_VALUE) count as empty.
#pragma once

#include <windows.h>

class THandle {
 public:
  THandle() = default;
  explicit THandle(HANDLE h) : h_(h) {}
  ~THandle() { Close(); }
  THandle(THandle&& other) noexcept : h_(other.Detach()) {}
  THandle& operator=(THandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;

  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  void Attach(HANDLE h) {
    if (h == h_) return;
    Close();
    h_ = h;
  }
  HANDLE Detach() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void Close() {
    if (Valid()) CloseHandle(h_);
    h_ = nullptr;
  }

 private:
  HANDLE h_ = nullptr;
};
