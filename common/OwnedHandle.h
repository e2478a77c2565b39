// Owners for the handles of the user interface that the forms layer
// creates: a menu, an accelerator table, an image list. Each kind is freed
// by its own function when the owner ends or takes another; Attach and
// Detach move ownership in and out. Link comctl32 for the image list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

template <class THandleType, auto Free>
class TOwnedHandle {
 public:
  TOwnedHandle() = default;
  explicit TOwnedHandle(THandleType handle) : handle_(handle) {}
  ~TOwnedHandle() { Reset(); }
  TOwnedHandle(TOwnedHandle&& other) noexcept : handle_(other.Detach()) {}
  TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TOwnedHandle(const TOwnedHandle&) = delete;
  TOwnedHandle& operator=(const TOwnedHandle&) = delete;

  THandleType Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Takes the handle over; the one held is freed, unless it is the same.
  void Attach(THandleType handle) {
    if (handle == handle_) return;
    Reset();
    handle_ = handle;
  }
  THandleType Detach() { return std::exchange(handle_, nullptr); }
  void Reset() {
    if (THandleType handle = std::exchange(handle_, nullptr)) Free(handle);
  }

 private:
  THandleType handle_ = nullptr;
};

// A menu or submenu that is no other menu's item (a submenu inserted into a
// menu is destroyed with it: take it out first).
using TOwnedMenu = TOwnedHandle<HMENU, &DestroyMenu>;
using TOwnedAcceleratorTable = TOwnedHandle<HACCEL, &DestroyAcceleratorTable>;
using TOwnedImageList = TOwnedHandle<HIMAGELIST, &ImageList_Destroy>;
