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
  explicit TGlobalMemory(HGLOBAL handle, bool locked = false) : Handle(handle), Locked(handle && locked) {}
  ~TGlobalMemory() { Free(); }
  TGlobalMemory(TGlobalMemory&& other) noexcept : Locked(other.Locked) { Handle = other.Detach(); }
  TGlobalMemory& operator=(TGlobalMemory&& other) noexcept {
    if (this != &other) {
      const bool locked = other.Locked;
      Attach(other.Detach(), locked);
    }
    return *this;
  }
  TGlobalMemory(const TGlobalMemory&) = delete;
  TGlobalMemory& operator=(const TGlobalMemory&) = delete;

  HGLOBAL Get() const { return Handle; }
  explicit operator bool() const { return Handle != nullptr; }
  void Attach(HGLOBAL handle, bool locked = false) {
    if (handle == Handle) return;
    Free();
    Handle = handle;
    Locked = handle && locked;
  }
  // Gives the block up, unlocked or not as it is.
  HGLOBAL Detach() {
    HGLOBAL handle = Handle;
    Handle = nullptr;
    Locked = false;
    return handle;
  }
  // Locks the block for the rest of its life (a reader's buffer is used so);
  // its address, or null.
  void* Lock() {
    if (!Handle) return nullptr;
    void* address = GlobalLock(Handle);
    Locked = Locked || address != nullptr;
    return address;
  }
  void Free() {
    if (Locked) GlobalUnlock(Handle);
    if (Handle) GlobalFree(Handle);
    Handle = nullptr;
    Locked = false;
  }

 private:
  HGLOBAL Handle = nullptr;
  bool Locked = false;
};

// The block locked for the life of the object; Get() is null when there is
// no block or it cannot be locked.
template <class T = void>
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL handle) : Handle(handle), Address(handle ? static_cast<T*>(GlobalLock(handle)) : nullptr) {}
  ~TGlobalLock() {
    if (Address) GlobalUnlock(Handle);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  T* Get() const { return Address; }
  T* operator->() const { return Address; }
  SIZE_T Size() const { return Address ? GlobalSize(Handle) : 0; }

 private:
  HGLOBAL Handle;
  T* Address;
};
