// The owner of a window that code creates and destroys itself (windows of
// the forms layer have their own life cycle).
#pragma once

#include <windows.h>

#include <utility>

class TOwnedWindow {
 public:
  TOwnedWindow() = default;
  explicit TOwnedWindow(HWND window) : window_(window) {}
  ~TOwnedWindow() { Reset(); }
  TOwnedWindow(const TOwnedWindow&) = delete;
  TOwnedWindow& operator=(const TOwnedWindow&) = delete;

  void Attach(HWND window) {
    if (window == window_) return;
    Reset();
    window_ = window;
  }
  HWND Detach() { return std::exchange(window_, nullptr); }
  void Reset() {
    if (HWND window = std::exchange(window_, nullptr)) DestroyWindow(window);
  }
  HWND Get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};
