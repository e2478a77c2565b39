// The clipboard, open for the owner's life (its data: GlobalMemory.h).
#pragma once

#include <windows.h>

class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner = nullptr) : opened_(OpenClipboard(owner) != FALSE) {}
  ~TOpenClipboard() {
    if (opened_) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return opened_; }

 private:
  bool opened_;
};
