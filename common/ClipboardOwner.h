// The clipboard, open for the owner's life.
#pragma once

#include <windows.h>

class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner = nullptr) : Opened(OpenClipboard(owner) != FALSE) {}
  ~TOpenClipboard() {
    if (Opened) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return Opened; }

 private:
  bool Opened;
};

// A global memory block locked for reading or writing while the owner lives.
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL block) : Block(block), Address(block ? GlobalLock(block) : nullptr) {}
  ~TGlobalLock() {
    if (Address) GlobalUnlock(Block);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Get() const { return Address; }
  SIZE_T Size() const { return Address ? GlobalSize(Block) : 0; }

 private:
  HGLOBAL Block;
  void* Address;
};
