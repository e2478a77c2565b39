// The owner of a window that code creates and destroys itself (windows of
// the forms layer have their own life cycle).
#pragma once

#include <windows.h>

#include <utility>

class TOwnedWindow {
 public:
  TOwnedWindow() = default;
  explicit TOwnedWindow(HWND window) : Window(window) {}
  ~TOwnedWindow() { Reset(); }
  TOwnedWindow(const TOwnedWindow&) = delete;
  TOwnedWindow& operator=(const TOwnedWindow&) = delete;

  void Attach(HWND window) {
    Reset();
    Window = window;
  }
  HWND Detach() { return std::exchange(Window, nullptr); }
  void Reset() {
    if (HWND window = std::exchange(Window, nullptr)) DestroyWindow(window);
  }
  HWND Get() const { return Window; }
  explicit operator bool() const { return Window != nullptr; }

 private:
  HWND Window = nullptr;
};
