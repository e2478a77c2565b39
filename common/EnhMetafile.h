// The owner of an enhanced metafile handle: deleted when its owner ends or
// takes another; ownership moves with Attach and Detach (the clipboard, for
// one, takes a metafile over).
#pragma once

#include <windows.h>

class TEnhMetafile {
 public:
  TEnhMetafile() = default;
  explicit TEnhMetafile(HENHMETAFILE handle) : handle_(handle) {}
  ~TEnhMetafile() { Reset(); }
  TEnhMetafile(TEnhMetafile&& other) noexcept : handle_(other.Detach()) {}
  TEnhMetafile& operator=(TEnhMetafile&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TEnhMetafile(const TEnhMetafile&) = delete;
  TEnhMetafile& operator=(const TEnhMetafile&) = delete;

  HENHMETAFILE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Takes the handle over (the one held is deleted, unless it is the same).
  void Attach(HENHMETAFILE handle) {
    if (handle == handle_) return;
    Reset();
    handle_ = handle;
  }
  HENHMETAFILE Detach() {
    HENHMETAFILE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset() {
    if (handle_) DeleteEnhMetaFile(handle_);
    handle_ = nullptr;
  }

 private:
  HENHMETAFILE handle_ = nullptr;
};
