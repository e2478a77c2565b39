// Small owners for GDI handles, for the diagram and the windows alike.
// Drawing code never deletes a pen, brush or font by hand: a guard selects
// it, and when the guard ends the previous object is back in the context
// and the guard's own object is deleted.
#pragma once

#include <windows.h>

// A GDI object that is not selected anywhere (a cached font, a bitmap):
// deleted when its owner ends or takes another.
class TOwnedGdiObject {
 public:
  explicit TOwnedGdiObject(HGDIOBJ object = nullptr) : Handle(object) {}
  ~TOwnedGdiObject() { Reset(); }
  TOwnedGdiObject(TOwnedGdiObject&& other) noexcept : Handle(other.Detach()) {}
  TOwnedGdiObject& operator=(TOwnedGdiObject&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TOwnedGdiObject(const TOwnedGdiObject&) = delete;
  TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;
  HGDIOBJ Get() const { return Handle; }
  void Attach(HGDIOBJ object) {
    if (object == Handle) return;
    Reset();
    Handle = object;
  }
  HGDIOBJ Detach() {
    HGDIOBJ object = Handle;
    Handle = nullptr;
    return object;
  }
  void Reset() {
    if (Handle) DeleteObject(Handle);
    Handle = nullptr;
  }

 private:
  HGDIOBJ Handle;
};

// Keeps one object selected in a device context. An owned object (one the
// caller created) is deleted once it is no longer selected; a stock or
// borrowed object is only deselected.
class TSelectedObject {
 public:
  TSelectedObject(HDC dc, HGDIOBJ object, bool owned = true) : DC(dc), Current(object), Owned(owned) {
    Previous = (DC && Current) ? SelectObject(DC, Current) : nullptr;
  }
  // An object the guard takes over from its owner.
  TSelectedObject(HDC dc, TOwnedGdiObject object) : TSelectedObject(dc, object.Detach(), true) {}
  ~TSelectedObject() { Release(); }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

  // Selects another object in place of the current one, which is deleted
  // at once when owned: each object lives only while it is selected.
  void Replace(HGDIOBJ object, bool owned = true) {
    if (!DC) return;
    if (object) {
      HGDIOBJ replaced = SelectObject(DC, object);
      if (!Previous) Previous = replaced;  // the first selection remembers what was there
    } else if (Previous) {
      SelectObject(DC, Previous);
    }
    if (Owned && Current) DeleteObject(Current);
    Current = object;
    Owned = owned;
  }

  void Replace(TOwnedGdiObject object) { Replace(object.Detach(), true); }

  HGDIOBJ Get() const { return Current; }
  HDC Dc() const { return DC; }

 private:
  void Release() {
    if (!DC) return;
    if (Previous) SelectObject(DC, Previous);
    if (Owned && Current) DeleteObject(Current);
    DC = nullptr;
    Current = nullptr;
  }

  HDC DC;
  HGDIOBJ Previous = nullptr;
  HGDIOBJ Current;
  bool Owned;
};

// Background mode, restored when the guard ends.
class TBkModeGuard {
 public:
  TBkModeGuard(HDC dc, int mode) : DC(dc), Previous(SetBkMode(dc, mode)) {}
  ~TBkModeGuard() {
    if (Previous) SetBkMode(DC, Previous);
  }
  TBkModeGuard(const TBkModeGuard&) = delete;
  TBkModeGuard& operator=(const TBkModeGuard&) = delete;

 private:
  HDC DC;
  int Previous;
};

// The device context of a window, or of the screen (no window: the
// reference device of every metafile), released when the owner ends.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : Window(window), DC(GetDC(window)) {}
  ~TWindowDC() {
    if (DC) ReleaseDC(Window, DC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return DC; }
  operator HDC() const { return DC; }

 private:
  HWND Window;
  HDC DC;
};

// The device context of one WM_PAINT: BeginPaint, and EndPaint when the
// owner ends (unless a handler destroyed the window meanwhile).
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : Window(window), DC(BeginPaint(window, &Paint)) {}
  ~TPaintDC() {
    if (Window && IsWindow(Window)) EndPaint(Window, &Paint);
  }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return DC; }
  operator HDC() const { return DC; }

 private:
  HWND Window;
  PAINTSTRUCT Paint{};
  HDC DC;
};

// A device context this program created (a memory context, a printer's),
// deleted when the owner ends; ownership moves with Attach and Detach.
class TCreatedDC {
 public:
  explicit TCreatedDC(HDC dc = nullptr) : DC(dc) {}
  ~TCreatedDC() { Reset(); }
  TCreatedDC(TCreatedDC&& other) noexcept : DC(other.Detach()) {}
  TCreatedDC& operator=(TCreatedDC&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TCreatedDC(const TCreatedDC&) = delete;
  TCreatedDC& operator=(const TCreatedDC&) = delete;
  HDC Get() const { return DC; }
  operator HDC() const { return DC; }
  void Attach(HDC dc) {
    if (dc == DC) return;
    Reset();
    DC = dc;
  }
  HDC Detach() {
    HDC dc = DC;
    DC = nullptr;
    return dc;
  }
  void Reset() {
    if (DC) DeleteDC(DC);
    DC = nullptr;
  }

 private:
  HDC DC;
};
