// The clipboard, open for the owner's life (its data: GlobalMemory.h).
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
