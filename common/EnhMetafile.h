// The owner of an enhanced metafile handle: deleted when its owner ends or
// takes another; ownership moves with Attach and Detach (the clipboard, for
// one, takes a metafile over).
#pragma once

#include <windows.h>

class TEnhMetafile {
 public:
  TEnhMetafile() = default;
  explicit TEnhMetafile(HENHMETAFILE handle) : Handle(handle) {}
  ~TEnhMetafile() { Reset(); }
  TEnhMetafile(TEnhMetafile&& other) noexcept : Handle(other.Detach()) {}
  TEnhMetafile& operator=(TEnhMetafile&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TEnhMetafile(const TEnhMetafile&) = delete;
  TEnhMetafile& operator=(const TEnhMetafile&) = delete;

  HENHMETAFILE Get() const { return Handle; }
  explicit operator bool() const { return Handle != nullptr; }
  // Takes the handle over (the one held is deleted, unless it is the same).
  void Attach(HENHMETAFILE handle) {
    if (handle == Handle) return;
    Reset();
    Handle = handle;
  }
  HENHMETAFILE Detach() {
    HENHMETAFILE handle = Handle;
    Handle = nullptr;
    return handle;
  }
  void Reset() {
    if (Handle) DeleteEnhMetaFile(Handle);
    Handle = nullptr;
  }

 private:
  HENHMETAFILE Handle = nullptr;
};
