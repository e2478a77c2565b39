// Small owners for GDI handles, for the diagram and the windows alike.
// Drawing code never deletes a pen, brush or font by hand: a guard selects
// it, and when the guard ends the previous object is back in the context
// and the guard's own object is deleted.
#pragma once

#include <windows.h>

// Keeps one object selected in a device context. An owned object (one the
// caller created) is deleted once it is no longer selected; a stock or
// borrowed object is only deselected.
class TSelectedObject {
 public:
  TSelectedObject(HDC dc, HGDIOBJ object, bool owned = true) : DC(dc), Current(object), Owned(owned) {
    Previous = (DC && Current) ? SelectObject(DC, Current) : nullptr;
  }
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

// A GDI object that is not selected anywhere (a cached font).
class TOwnedGdiObject {
 public:
  explicit TOwnedGdiObject(HGDIOBJ object = nullptr) : Handle(object) {}
  ~TOwnedGdiObject() {
    if (Handle) DeleteObject(Handle);
  }
  TOwnedGdiObject(TOwnedGdiObject&& other) noexcept : Handle(other.Handle) { other.Handle = nullptr; }
  TOwnedGdiObject& operator=(TOwnedGdiObject&& other) noexcept {
    if (this != &other) {
      if (Handle) DeleteObject(Handle);
      Handle = other.Handle;
      other.Handle = nullptr;
    }
    return *this;
  }
  TOwnedGdiObject(const TOwnedGdiObject&) = delete;
  TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;
  HGDIOBJ Get() const { return Handle; }

 private:
  HGDIOBJ Handle;
};

// Background mode and text alignment, restored when the guard ends.
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

// The screen's device context, the reference device of every metafile.
class TScreenDC {
 public:
  TScreenDC() : DC(GetDC(nullptr)) {}
  ~TScreenDC() {
    if (DC) ReleaseDC(nullptr, DC);
  }
  TScreenDC(const TScreenDC&) = delete;
  TScreenDC& operator=(const TScreenDC&) = delete;
  HDC Get() const { return DC; }
  operator HDC() const { return DC; }

 private:
  HDC DC;
};

// A memory device context compatible with another one (or the screen).
class TMemoryDC {
 public:
  explicit TMemoryDC(HDC compatibleWith = nullptr) : DC(CreateCompatibleDC(compatibleWith)) {}
  ~TMemoryDC() {
    if (DC) DeleteDC(DC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return DC; }
  operator HDC() const { return DC; }

 private:
  HDC DC;
};
