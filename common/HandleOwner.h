// The owner of a kernel object handle: a process, a thread, a file.
#pragma once

#include <windows.h>

#include <utility>

class THandle {
 public:
  THandle() = default;
  explicit THandle(HANDLE handle) : Handle(handle) {}
  ~THandle() { Close(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  THandle(THandle&& other) noexcept : Handle(other.Detach()) {}
  THandle& operator=(THandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  void Attach(HANDLE handle) {
    Close();
    Handle = handle;
  }
  HANDLE Detach() { return std::exchange(Handle, nullptr); }
  void Close() {
    HANDLE handle = std::exchange(Handle, nullptr);
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  HANDLE Get() const { return Handle; }
  explicit operator bool() const { return Handle && Handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE Handle = nullptr;
};
