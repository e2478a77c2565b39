// Small owners for GDI handles, for the diagram and the windows alike.
// Drawing code never deletes a pen, brush or font by hand: a guard selects
// it, and when the guard ends the previous object is back in the context
// and an object the guard was given to own is deleted.
#pragma once

#include <windows.h>

// A GDI object that is not selected anywhere (a cached font, a bitmap):
// deleted when its owner ends or takes another.
class TOwnedGdiObject {
 public:
  explicit TOwnedGdiObject(HGDIOBJ object = nullptr) : handle_(object) {}
  ~TOwnedGdiObject() { Reset(); }
  TOwnedGdiObject(TOwnedGdiObject&& other) noexcept : handle_(other.Detach()) {}
  TOwnedGdiObject& operator=(TOwnedGdiObject&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TOwnedGdiObject(const TOwnedGdiObject&) = delete;
  TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;
  HGDIOBJ Get() const { return handle_; }
  void Attach(HGDIOBJ object) {
    if (object == handle_) return;
    Reset();
    handle_ = object;
  }
  HGDIOBJ Detach() {
    HGDIOBJ object = handle_;
    handle_ = nullptr;
    return object;
  }
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  HGDIOBJ handle_;
};

// Keeps one object selected in a device context, and puts the previous
// object back into that same context when it ends. A plain handle is
// borrowed (a stock object, a control's font): only deselected. An object
// handed over as a TOwnedGdiObject is owned: deleted once it is no longer
// selected.
class TSelectedObject {
 public:
  TSelectedObject(HDC dc, HGDIOBJ borrowed) : dc_(dc) { Select(borrowed, false); }
  TSelectedObject(HDC dc, TOwnedGdiObject owned) : dc_(dc) { Select(owned.Detach(), true); }
  ~TSelectedObject() { Release(); }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

  // Selects another object in place of the current one, which is deleted
  // at once when owned: each object lives only while it is selected. A null
  // object puts the context's first object back.
  void Replace(HGDIOBJ borrowed) { Select(borrowed, false); }
  void Replace(TOwnedGdiObject owned) { Select(owned.Detach(), true); }

  HGDIOBJ Get() const { return current_; }
  HDC Dc() const { return dc_; }

 private:
  // Without a context nothing is selected, but an owned object is still
  // deleted in its turn.
  void Select(HGDIOBJ object, bool owned) {
    if (dc_ && object) {
      HGDIOBJ replaced = SelectObject(dc_, object);
      if (!previous_) previous_ = replaced;  // the first selection remembers what was there
    } else if (dc_ && previous_) {
      SelectObject(dc_, previous_);
    }
    if (owned_ && current_) DeleteObject(current_);
    current_ = object;
    owned_ = owned;
  }
  void Release() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (owned_ && current_) DeleteObject(current_);
    current_ = nullptr;
  }

  HDC dc_;
  HGDIOBJ previous_ = nullptr;
  HGDIOBJ current_ = nullptr;
  bool owned_ = false;
};

// Background mode, restored when the guard ends.
class TBkModeGuard {
 public:
  TBkModeGuard(HDC dc, int mode) : dc_(dc), previous_(SetBkMode(dc, mode)) {}
  ~TBkModeGuard() {
    if (previous_) SetBkMode(dc_, previous_);
  }
  TBkModeGuard(const TBkModeGuard&) = delete;
  TBkModeGuard& operator=(const TBkModeGuard&) = delete;

 private:
  HDC dc_;
  int previous_;
};

// The device context of a window, or of the screen (no window: the
// reference device of every metafile), released when the owner ends.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint, and EndPaint when the
// owner ends (unless a handler destroyed the window meanwhile).
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~TPaintDC() {
    if (window_ && IsWindow(window_)) EndPaint(window_, &paint_);
  }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A device context this program created (a memory context, a printer's),
// deleted when the owner ends; ownership moves with Attach and Detach.
class TCreatedDC {
 public:
  explicit TCreatedDC(HDC dc = nullptr) : dc_(dc) {}
  ~TCreatedDC() { Reset(); }
  TCreatedDC(TCreatedDC&& other) noexcept : dc_(other.Detach()) {}
  TCreatedDC& operator=(TCreatedDC&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TCreatedDC(const TCreatedDC&) = delete;
  TCreatedDC& operator=(const TCreatedDC&) = delete;
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  void Attach(HDC dc) {
    if (dc == dc_) return;
    Reset();
    dc_ = dc;
  }
  HDC Detach() {
    HDC dc = dc_;
    dc_ = nullptr;
    return dc;
  }
  void Reset() {
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  HDC dc_;
};
