// Global memory blocks (print settings, clipboard data, reader buffers): the
// owner of a block, freed when its owner ends, and the lock that gives its
// address for the life of the lock.
#pragma once

#include <windows.h>

class TGlobalMemory {
 public:
  TGlobalMemory() = default;
  // locked: the block is locked already, once, and is unlocked before it
  // is freed.
  explicit TGlobalMemory(HGLOBAL handle, bool locked = false) : handle_(handle), locked_(handle && locked) {}
  ~TGlobalMemory() { Free(); }
  TGlobalMemory(TGlobalMemory&& other) noexcept : locked_(other.locked_) { handle_ = other.Detach(); }
  TGlobalMemory& operator=(TGlobalMemory&& other) noexcept {
    if (this != &other) {
      const bool locked = other.locked_;
      Attach(other.Detach(), locked);
    }
    return *this;
  }
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;

  HGLOBAL Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Attach(HGLOBAL handle, bool locked = false) {
    if (handle == handle_) return;
    Free();
    handle_ = handle;
    locked_ = handle && locked;
  }
  // Gives the block up, unlocked or not as it is.
  HGLOBAL Detach() {
    HGLOBAL handle = handle_;
    handle_ = nullptr;
    locked_ = false;
    return handle;
  }
  // Locks the block for the rest of its life (a reader's buffer is used so);
  // its address, or null.
  void* Lock() {
    if (!handle_) return nullptr;
    void* address = GlobalLock(handle_);
    locked_ = locked_ || address != nullptr;
    return address;
  }
  void Free() {
    if (locked_) GlobalUnlock(handle_);
    if (handle_) GlobalFree(handle_);
    handle_ = nullptr;
    locked_ = false;
  }

 private:
  HGLOBAL handle_ = nullptr;
  bool locked_ = false;
};

// The block locked for the life of the object; Get() is null when there is
// no block or it cannot be locked.
template <class T = void>
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL handle) : handle_(handle), address_(handle ? static_cast<T*>(GlobalLock(handle)) : nullptr) {}
  ~TGlobalLock() {
    if (address_) GlobalUnlock(handle_);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  T* Get() const { return address_; }
  T* operator->() const { return address_; }
  SIZE_T Size() const { return address_ ? GlobalSize(handle_) : 0; }

 private:
  HGLOBAL handle_;
  T* address_;
};
