#include "Forms.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "Dialogs.h"
#include "Menus.h"
#include "Module.h"
#include "Yield.h"

TApplication Application;
TScreen Screen;

namespace {

const char* const ControlProp = "Usagram.Control";
const char* const FormClass = "UsagramForm";
const char* const ControlClass = "UsagramControl";
int NextControlId = 1000;

TShiftState ShiftFromMouse(WPARAM wp) {
  TShiftState s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemFlag) return GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

HFONT CreateFontFrom(const TFont& font) {
  LOGFONTA lf{};
  lf.lfHeight = font.Size ? -MulDiv(font.Size, 96, 72) : -std::abs(font.Height);
  lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.Italic;
  lf.lfUnderline = font.Underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE);
  return CreateFontIndirectA(&lf);
}

SIZE MeasureText(HFONT font, const std::string& text, UINT flags, int width) {
  TWindowDC dc;
  RECT r{0, 0, width, 0};
  TSelectedObject g(dc, font, false);
  const std::string t = text.empty() ? std::string(" ") : text;  // an empty text keeps a line's height
  DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, flags | DT_CALCRECT);
  if (text.empty()) r.right = r.left;
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE TextExtent(const TFont& font, const std::string& text) {
  TOwnedGdiObject f(CreateFontFrom(font));
  return MeasureText(static_cast<HFONT>(f.Get()), text, DT_NOPREFIX, 0);
}

// ---- TControl --------------------------------------------------------------

TControl::TControl() = default;

TControl::~TControl() {
  for (TControl* c : children_) c->parent_ = nullptr;
  children_.clear();
  if (parent_) {
    auto& v = parent_->children_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    parent_ = nullptr;
  }
  if (hwnd_) {
    HWND h = hwnd_;
    Detach();
    DestroyWindow(h);
  }
}

TControl* TControl::FromHandle(HWND h) {
  return h ? static_cast<TControl*>(GetPropA(h, ControlProp)) : nullptr;
}

TForm* TControl::Form() {
  TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(c);
}

void TControl::Attach(HWND h) {
  hwnd_ = h;
  SetPropA(h, ControlProp, this);
  if (native_) SetWindowSubclass(h, &TControl::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void TControl::Detach() {
  if (!hwnd_) return;
  RemovePropA(hwnd_, ControlProp);
  if (native_) RemoveWindowSubclass(hwnd_, &TControl::SubclassProc, 1);
  hwnd_ = nullptr;
}

void TControl::SetParentObject(TControl* parent) {
  parent_ = parent;
  if (!parent) return;
  parent->children_.push_back(this);
  if (parentFont_) {
    font_ = parent->font_;
    hfont_ = parent->hfont_;
  }
  if (parentColor_) color_ = parent->color_;
}

void TControl::CreateNative(TControl& parent, const char* className, DWORD style, DWORD exStyle, const TBounds& b,
                            const std::string& text) {
  if (hwnd_) throw EInvalidOperation("Control already created");
  HWND h = CreateWindowExA(exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, b.Left, b.Top, b.Width,
                           b.Height, parent.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId++)),
                           ThisModule(), nullptr);
  if (!h) throw EInvalidOperation(std::string("Cannot create a window of class ") + className);
  native_ = true;
  Attach(h);
  SetParentObject(&parent);
  ApplyFont();
  parent.ChildBoundsChanged(this);
}

void TControl::CreateCustom(TControl& parent, DWORD style, DWORD exStyle, const TBounds& b, const std::string& text) {
  if (hwnd_) throw EInvalidOperation("Control already created");
  // The parent is known before the first message, so the first paint has
  // the right colours and font.
  SetParentObject(&parent);
  HWND h = CreateWindowExA(exStyle, ControlClass, text.c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                           b.Left, b.Top, b.Width, b.Height, parent.Handle(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId++)), ThisModule(), this);
  if (!h) {
    auto& v = parent.children_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    parent_ = nullptr;
    throw EInvalidOperation("Cannot create a control window");
  }
  ApplyFont();
  parent.ChildBoundsChanged(this);
}

void TControl::CreateTopLevel(HWND owner, DWORD style, DWORD exStyle, const TBounds& b, const std::string& text) {
  if (!hfont_) hfont_ = std::make_shared<TOwnedGdiObject>(CreateFontFrom(font_));
  HWND h = CreateWindowExA(exStyle, FormClass, text.c_str(), style, b.Left, b.Top, b.Width, b.Height, owner,
                           nullptr, ThisModule(), this);
  if (!h) throw EInvalidOperation("Cannot create the window \"" + text + "\"");
}

LRESULT CALLBACK TControl::StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  TControl* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    if (self) self->Attach(h);
  } else {
    self = FromHandle(h);
  }
  if (!self) return DefWindowProcA(h, msg, wp, lp);
  return Dispatch(self, h, msg, wp, lp);
}

LRESULT CALLBACK TControl::SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  return Dispatch(reinterpret_cast<TControl*>(ref), h, msg, wp, lp);
}

// The one place where messages enter our objects: nothing thrown by a
// handler goes further.
LRESULT TControl::Dispatch(TControl* self, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = self->WndProc(msg, wp, lp);
  } catch (...) {
    Application.HandleException();
    result = msg == WM_NCCREATE ? TRUE : 0;
  }
  if (msg == WM_NCDESTROY && self->hwnd_ == h) {
    self->Detach();
    try {
      self->HandleDestroyed();
    } catch (...) {
      Application.HandleException();
    }
  }
  return result;
}

LRESULT TControl::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (!hwnd_) return 0;
  return native_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

HBRUSH TControl::BackgroundBrush() {
  if (!brush_ || brushColor_ != color_) {
    brush_ = std::make_unique<TOwnedGdiObject>(CreateSolidBrush(ColorToRGB(color_)));
    brushColor_ = color_;
  }
  return static_cast<HBRUSH>(brush_->Get());
}

void TControl::FillBackground(HDC dc, const RECT& r) { FillRect(dc, &r, BackgroundBrush()); }

HBRUSH TControl::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(font_.Color));
  SetBkColor(dc, ColorToRGB(color_));
  return BackgroundBrush();
}

bool TControl::MouseMessage(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  TShiftState shift = ShiftFromMouse(wp);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      TMouseButton b = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? mbLeft
                       : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                            : mbMiddle;
      bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      if (dbl) shift |= ssDouble;
      if (msg == WM_LBUTTONDOWN && clickOnMouseUp_) {
        mouseDown_ = true;
        if (!native_) SetCapture(hwnd_);
      }
      if (msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick();
      if (OnMouseDown) OnMouseDown(b, shift, x, y);
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      TMouseButton b = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
      if (OnMouseUp) OnMouseUp(b, shift, x, y);
      if (msg == WM_LBUTTONUP && mouseDown_) {
        mouseDown_ = false;
        if (!native_ && GetCapture() == hwnd_) ReleaseCapture();
        RECT r;
        GetClientRect(hwnd_, &r);
        POINT p{x, y};
        if (PtInRect(&r, p)) Click();
      }
      return true;
    }
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(shift, x, y);
      return true;
  }
  return false;
}

LRESULT TControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) {
        TControl* c = FromHandle(reinterpret_cast<HWND>(lp));
        if (c && c != this) {
          c->Command(HIWORD(wp));
          return 0;
        }
      }
      break;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      TControl* c = FromHandle(nm->hwndFrom);
      LRESULT r = 0;
      if (c && c != this && c->Notify(nm, r)) return r;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      TControl* c = FromHandle(reinterpret_cast<HWND>(lp));
      if (c && c != this) {
        if (HBRUSH b = c->CtlColor(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      TControl* c = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
      if (c && c != this && c->DrawItem(item)) return TRUE;
      break;
    }
    case WM_SIZE:
      Realign();
      break;
    case WM_SETCURSOR:
      if (Screen.Cursor()) {
        ::SetCursor(Screen.Cursor());
        return TRUE;
      }
      break;
    case WM_SETFOCUS:
      if (OnEnter) OnEnter();
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(wp);
      bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
      TForm* f = Form();
      if (down && f && f->IsShortCut(key, KeyboardShiftState())) return 0;
      if (down && f && f != this && f->KeyPreview && f->OnKeyDown) f->OnKeyDown(key, KeyboardShiftState());
      auto& handler = down ? OnKeyDown : OnKeyUp;
      if (key && handler) handler(key, KeyboardShiftState());
      if (!key || !hwnd_) return 0;
      if (down) DoKeyDown(key, KeyboardShiftState());
      if (!hwnd_) return 0;
      wp = key;
      break;
    }
    default:
      if ((msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) && MouseMessage(msg, wp, lp) && !hwnd_) return 0;
      break;
  }
  return DefaultProc(msg, wp, lp);
}

void TControl::Click() {
  if (OnClick) OnClick();
}

int TControl::Left() const { return BoundsRect().Left; }
int TControl::Top() const { return BoundsRect().Top; }
int TControl::Width() const { return BoundsRect().Width; }
int TControl::Height() const { return BoundsRect().Height; }

TBounds TControl::BoundsRect() const {
  if (!hwnd_) return {};
  RECT r;
  GetWindowRect(hwnd_, &r);
  HWND p = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd_) : nullptr;
  if (p) MapWindowPoints(HWND_DESKTOP, p, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int TControl::ClientWidth() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.right;
}

int TControl::ClientHeight() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r.bottom;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (!hwnd_) return;
  width = std::max(width, 0);
  height = std::max(height, 0);
  TBounds old = BoundsRect();
  if (old.Left == left && old.Top == top && old.Width == width && old.Height == height) return;
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  if (parent_) {
    if (align_ != alNone && !parent_->realigning_) parent_->Realign();
    parent_->ChildBoundsChanged(this);
  }
}

void TControl::SetLeft(int v) {
  TBounds b = BoundsRect();
  SetBounds(v, b.Top, b.Width, b.Height);
}
void TControl::SetTop(int v) {
  TBounds b = BoundsRect();
  SetBounds(b.Left, v, b.Width, b.Height);
}
void TControl::SetWidth(int v) {
  TBounds b = BoundsRect();
  SetBounds(b.Left, b.Top, v, b.Height);
}
void TControl::SetHeight(int v) {
  TBounds b = BoundsRect();
  SetBounds(b.Left, b.Top, b.Width, v);
}

void TControl::SetAlign(TAlign a) {
  align_ = a;
  if (parent_) parent_->Realign();
}

RECT TControl::AlignRect() {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r;
}

void TControl::Realign() {
  if (!hwnd_) return;
  if (realigning_) {
    realignAgain_ = true;  // the client changed while we laid out
    return;
  }
  realigning_ = true;
  for (int round = 0; round < 3; ++round) {
    realignAgain_ = false;
    AlignChildren();
    if (!realignAgain_) break;
  }
  realigning_ = false;
}

void TControl::AlignChildren() {
  RECT r = AlignRect();
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : children_) {
      if (c->align_ != kind || !c->Visible()) continue;
      const int w = std::max<int>(r.right - r.left, 0), h = std::max<int>(r.bottom - r.top, 0);
      switch (kind) {
        case alTop: {
          int ch = c->Height();
          c->SetBounds(r.left, r.top, w, ch);
          r.top += ch;
          break;
        }
        case alBottom: {
          int ch = c->Height();
          c->SetBounds(r.left, r.bottom - ch, w, ch);
          r.bottom -= ch;
          break;
        }
        case alLeft: {
          int cw = c->Width();
          c->SetBounds(r.left, r.top, cw, h);
          r.left += cw;
          break;
        }
        case alRight: {
          int cw = c->Width();
          c->SetBounds(r.right - cw, r.top, cw, h);
          r.right -= cw;
          break;
        }
        default:
          c->SetBounds(r.left, r.top, w, h);
          break;
      }
    }
  }
}

bool TControl::Visible() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE); }

void TControl::SetVisible(bool v) {
  if (!hwnd_ || Visible() == v) return;
  ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
  if (parent_ && align_ != alNone) parent_->Realign();
  if (parent_) parent_->ChildBoundsChanged(this);
}

bool TControl::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void TControl::SetEnabled(bool e) {
  if (hwnd_) EnableWindow(hwnd_, e);
}

std::string TControl::Text() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

void TControl::SetText(const std::string& text) {
  if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

HFONT TControl::FontHandle() const { return hfont_ ? static_cast<HFONT>(hfont_->Get()) : nullptr; }

void TControl::ApplyFont() {
  if (hwnd_ && hfont_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_->Get()), TRUE);
}

void TControl::PropagateFont() {
  for (TControl* c : children_) {
    if (!c->parentFont_) continue;
    c->font_ = font_;
    c->hfont_ = hfont_;
    c->ApplyFont();
    c->PropagateFont();
  }
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  parentFont_ = false;
  hfont_ = std::make_shared<TOwnedGdiObject>(CreateFontFrom(font_));
  ApplyFont();
  PropagateFont();
  Invalidate();
}

void TControl::SetColor(TColor c) {
  color_ = c;
  parentColor_ = false;
  for (TControl* child : children_)
    if (child->parentColor_) child->color_ = c, child->Invalidate();
  Invalidate();
}

void TControl::SetHint(const std::string& hint) {
  hint_ = hint;
  if (TForm* f = Form(); f && f != this && hwnd_) f->RegisterHint(this);
}

void TControl::BringToFront() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::SendToBack() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TControl::SetFocus() {
  if (hwnd_) ::SetFocus(hwnd_);
}
bool TControl::Focused() const { return hwnd_ && GetFocus() == hwnd_; }
void TControl::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}
void TControl::Update() {
  if (hwnd_) UpdateWindow(hwnd_);
}

// ---- TCustomControl ----------------------------------------------------------

void TCustomControl::Create(TControl& parent, const TBounds& b, const std::string& text) {
  clickOnMouseUp_ = true;
  CreateCustom(parent, extraStyle_, extraExStyle_, b, text);
}

void TCustomControl::PaintTo(HDC dc) {
  RECT r{};
  if (Handle()) GetClientRect(Handle(), &r);
  FillBackground(dc, r);
  Paint(dc, r);
}

LRESULT TCustomControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers the whole client
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      struct End {
        HWND h;
        PAINTSTRUCT* ps;
        ~End() { EndPaint(h, ps); }
      } end{Handle(), &ps};
      PaintTo(dc);
      return 0;
    }
    case WM_GETDLGCODE:
      return DialogCode();
  }
  return TControl::WndProc(msg, wp, lp);
}

// ---- TForm -----------------------------------------------------------------

TForm::TForm(const TFormParams& p) : HelpContext(p.HelpContext), position_(p.Position) {
  // Both classes share the one static procedure; the object is found from
  // the window, stored at WM_NCCREATE.
  static bool registered = false;
  if (!registered) {
    for (int i = 0; i < 2; ++i) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      wc.style = i == 0 ? CS_DBLCLKS : CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
      wc.lpfnWndProc = &TControl::StaticWndProc;
      wc.hInstance = ThisModule();
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      if (i == 0) {
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
        if (!wc.hIcon) wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
      }
      wc.lpszClassName = i == 0 ? FormClass : ControlClass;
      if (!RegisterClassExA(&wc)) {
        // Left by an earlier load of this library at the same address: its
        // procedure may be stale, so register ours again.
        if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throw EInvalidOperation("Cannot register the window classes");
        UnregisterClassA(wc.lpszClassName, wc.hInstance);
        RegisterClassExA(&wc);
      }
    }
    registered = true;
  }

  DWORD style = 0, ex = 0;
  switch (p.BorderStyle) {
    case bsSizeable:
      style = WS_OVERLAPPEDWINDOW;
      break;
    case bsSingle:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case bsDialog:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      ex = WS_EX_DLGMODALFRAME;
      break;
    case bsNone:
      style = WS_POPUP;
      break;
    case bsToolWindow:
      style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      ex = WS_EX_TOOLWINDOW;
      break;
  }
  style |= WS_CLIPCHILDREN;
  ex |= WS_EX_CONTROLPARENT;
  if (p.StayOnTop) ex |= WS_EX_TOPMOST;
  sizeIsClient_ = p.Width == 0 && p.Height == 0;
  clientWidth_ = sizeIsClient_ ? p.ClientWidth : p.Width;
  clientHeight_ = sizeIsClient_ ? p.ClientHeight : p.Height;
  RECT r{0, 0, clientWidth_, clientHeight_};
  if (sizeIsClient_) AdjustWindowRectEx(&r, style, FALSE, ex);
  CreateTopLevel(p.Owner, style, ex, {p.Left, p.Top, r.right - r.left, r.bottom - r.top}, p.Caption);
  if (position_ == poScreenCenter) CenterOnScreen();
}

TForm::~TForm() {
  // The derived part is gone: its handlers must not run any more.
  OnCreate = OnShow = OnHide = OnDestroy = OnActivate = OnResize = OnRelease = nullptr;
  OnPaint = nullptr;
  OnCloseQuery = nullptr;
  OnClose = nullptr;
  if (Application.MainForm == this) Application.MainForm = nullptr;
  for (TTimer* t : timers_) {
    t->running_ = false;
    t->owner_ = nullptr;
  }
  if (menu_) menu_->form_ = nullptr;
  for (TPopupMenu* pm : popups_) pm->form_ = nullptr;
  if (accel_) DestroyAcceleratorTable(accel_);
  DestroyHandle();
}

TForm* TForm::FromWindow(HWND h) {
  if (!h) return nullptr;
  return dynamic_cast<TForm*>(FromHandle(GetAncestor(h, GA_ROOT)));
}

void TForm::CenterOnScreen() {
  TBounds b = BoundsRect();
  SetWindowPos(Handle(), nullptr, (Screen.Width() - b.Width) / 2, (Screen.Height() - b.Height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetClientSize(int width, int height) {
  if (!Handle()) return;
  sizeIsClient_ = true;
  clientWidth_ = width;
  clientHeight_ = height;
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                     static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (firstShow_ && position_ == poScreenCenter) CenterOnScreen();
}

void TForm::FinishCreate() {
  Realign();
  if (tooltip_) SendMessageA(tooltip_, TTM_ACTIVATE, ShowHint, 0);
  if (OnCreate) OnCreate();
}

void TForm::SetVisible(bool v) {
  if (!Handle()) return;
  if (v && firstShow_) {
    firstShow_ = false;
    if (position_ == poScreenCenter) CenterOnScreen();
  }
  if (Visible() == v) {
    if (v) BringWindowToTop(Handle());
    return;
  }
  ShowWindow(Handle(), v ? SW_SHOW : SW_HIDE);
}

void TForm::BringToFront() {
  SetVisible(true);
  if (Handle()) SetForegroundWindow(Handle());
}

void TForm::DestroyHandle() {
  if (Handle()) DestroyWindow(Handle());
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  return canClose;
}

void TForm::Close() {
  if (modal_) {
    ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(action);
  if (action == caNone) return;
  if (Application.MainForm == this) {
    Hide();
    Application.Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    ShowWindow(Handle(), SW_MINIMIZE);
  } else {
    Hide();
    // Not now: we may be inside one of this form's own handlers.
    PostMessageA(Handle(), WM_RELEASEFORM, 0, 0);
  }
}

namespace {
struct TThreadWindows {
  HWND self;
  std::vector<HWND>* out;
};

BOOL CALLBACK CollectThreadWindow(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<TThreadWindows*>(lp);
  if (h != c->self && IsWindowVisible(h) && IsWindowEnabled(h)) c->out->push_back(h);
  return TRUE;
}
}  // namespace

int TForm::ShowModal() {
  if (!Handle() || modal_ || Visible()) throw EInvalidOperation("Cannot make a visible window modal");
  HWND owner = GetWindow(Handle(), GW_OWNER);
  if (!owner) {
    HWND active = GetActiveWindow();
    if (active != Handle()) owner = active;
  }
  // The owner and every other visible window of this thread are disabled
  // (as Delphi does), so no other command runs while the form is up; they
  // are enabled again and the form hidden, however the loop ends.
  struct ModalState {
    TForm& form;
    HWND owner;
    std::vector<HWND> disabled;
    ~ModalState() {
      for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
      form.modal_ = false;
      if (form.Handle()) {
        form.Hide();
        if (owner && IsWindow(owner)) SetActiveWindow(owner);
      }
    }
  } state{*this, owner, {}};
  TThreadWindows others{Handle(), &state.disabled};
  EnumThreadWindows(GetCurrentThreadId(), &CollectThreadWindow, reinterpret_cast<LPARAM>(&others));
  if (owner && IsWindowEnabled(owner) &&
      std::find(state.disabled.begin(), state.disabled.end(), owner) == state.disabled.end())
    state.disabled.push_back(owner);
  for (HWND h : state.disabled) EnableWindow(h, FALSE);
  ModalResult = mrNone;
  modal_ = true;
  Show();
  for (;;) {
    if (!Handle() || Application.Terminated) {
      ModalResult = mrCancel;
      break;
    }
    if (ModalResult != mrNone) {
      bool canClose = CloseQuery();
      if (canClose) {
        TCloseAction action = caHide;
        if (OnClose) OnClose(action);
        canClose = action != caNone;
      }
      if (canClose) break;
      ModalResult = mrNone;
    }
    Application.HandleMessage();
  }
  return ModalResult;
}

void TForm::SetMenu(TMainMenu* menu) {
  if (menu_) menu_->form_ = nullptr;
  menu_ = menu;
  if (menu) menu->form_ = this;
  ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
  // The menu bar takes its height from the client.
  if (sizeIsClient_ && clientWidth_ > 0) SetClientSize(clientWidth_, clientHeight_);
  accelGeneration_ = ~0u;
}

void TForm::AddPopupMenu(TPopupMenu* menu) {
  if (std::find(popups_.begin(), popups_.end(), menu) == popups_.end()) popups_.push_back(menu);
  menu->form_ = this;
  accelGeneration_ = ~0u;
}

HACCEL TForm::AcceleratorTable() {
  if (accelGeneration_ != MenuGeneration()) {
    if (accel_) DestroyAcceleratorTable(accel_);
    accel_ = BuildAcceleratorTable(menu_, popups_);
    accelGeneration_ = MenuGeneration();
  }
  return accel_;
}

namespace {
TMenuItem* FindShortCut(TMenuItem& item, TShortCut sc) {
  for (int i = 0; i < item.Count(); ++i) {
    TMenuItem* c = item.Items(i);
    if (!c->Visible()) continue;
    if (c->ShortCut() == sc) return c;
    if (TMenuItem* found = FindShortCut(*c, sc)) return found;
  }
  return nullptr;
}
}  // namespace

bool TForm::IsShortCut(WORD key, TShiftState shift) {
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  const TShortCut sc = ShortCut(key, shift);
  TMenuItem* item = menu_ ? FindShortCut(menu_->Items(), sc) : nullptr;
  for (size_t i = 0; !item && i < popups_.size(); ++i) item = FindShortCut(popups_[i]->Items(), sc);
  // A disabled command leaves the key to the control, as Delphi does.
  if (!item || !item->CanClick()) return false;
  item->Click();
  return true;
}

void TForm::AddTimer(TTimer* t) { timers_.push_back(t); }
void TForm::RemoveTimer(TTimer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

void TForm::RegisterHint(TControl* c) {
  if (!Handle() || !c->Handle()) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ThisModule(), nullptr);
    if (!tooltip_) return;
    SendMessageA(tooltip_, TTM_ACTIVATE, ShowHint, 0);
  }
  TTTOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = Handle();
  ti.uId = reinterpret_cast<UINT_PTR>(c->Handle());
  ti.lpszText = const_cast<char*>(c->Hint().c_str());
  SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  if (!c->Hint().empty()) SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

TControl* TForm::FindById(TControl* root, int id) {
  for (TControl* c : root->children_) {
    if (c->Handle() && GetDlgCtrlID(c->Handle()) == id) return c;
    if (TControl* d = FindById(c, id)) return d;
  }
  return nullptr;
}

TControl* TForm::FindButton(TControl* root, bool cancel) {
  for (TControl* c : root->children_) {
    if (c->Handle() && c->Visible() && c->Enabled() && (c->ButtonRoles() & (cancel ? brCancel : brDefault))) return c;
    if (TControl* d = FindButton(c, cancel)) return d;
  }
  return nullptr;
}

void TForm::HandleDestroyed() {
  modal_ = false;
  for (TTimer* t : timers_) t->running_ = false;
  tooltip_ = nullptr;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_COMMAND:
      if (lp == 0) {
        const WORD id = LOWORD(wp);
        if (TMenuItem* item = TMenuItem::FromCommand(id)) {
          item->Click();
          return 0;
        }
        // Enter and Escape of the dialog keys.
        if (id == IDOK || id == IDCANCEL) {
          if (TControl* b = FindButton(this, id == IDCANCEL)) b->Click();
          return 0;
        }
        if (TControl* c = FindById(this, id)) {
          c->Command(HIWORD(wp));
          return 0;
        }
      }
      break;
    case DM_GETDEFID:
      if (TControl* b = FindButton(this, false)) return MAKELRESULT(GetDlgCtrlID(b->Handle()), DC_HASDEFID);
      return 0;
    case WM_INITMENUPOPUP:
      if (TMenuItem* item = TMenuItem::FromSubmenu(reinterpret_cast<HMENU>(wp)); item && item->OnClick)
        item->OnClick();
      return 0;
    case WM_TIMER:
      for (TTimer* t : timers_) {
        if (t->id_ == wp) {
          t->Fire();
          return 0;
        }
      }
      break;
    case WM_SHOWWINDOW:
      if (lp == 0) {
        if (wp && OnShow) OnShow();
        if (!wp && OnHide) OnHide();
      }
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillBackground(reinterpret_cast<HDC>(wp), r);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      struct End {
        HWND h;
        PAINTSTRUCT* ps;
        ~End() {
          if (h && IsWindow(h)) EndPaint(h, ps);
        }
      } end{Handle(), &ps};
      if (OnPaint) OnPaint(dc);
      return 0;
    }
    case WM_SIZE: {
      LRESULT r = TControl::WndProc(msg, wp, lp);
      if (OnResize) OnResize();
      return r;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        // Coming back, the user finds the focus where it was.
        HWND f = GetFocus();
        if (f && IsChild(Handle(), f)) lastFocus_ = f;
      } else {
        if (OnActivate) OnActivate();
        if (!IsChild(Handle(), GetFocus())) {
          HWND target = lastFocus_;
          if (!target || !IsChild(Handle(), target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
            target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
          if (target && IsChild(Handle(), target)) {
            ::SetFocus(target);
            return 0;
          }
        }
      }
      break;
    case WM_HELP:
      if (HelpContext) {
        Application.HelpContext(HelpContext);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (GetMenu(Handle())) ::SetMenu(Handle(), nullptr);  // the menu is ours, not the window's
      if (OnDestroy) OnDestroy();
      break;
    case WM_RELEASEFORM: {
      std::function<void()> release = OnRelease;
      DestroyHandle();
      if (release) release();  // may delete this object
      return 0;
    }
  }
  return TControl::WndProc(msg, wp, lp);
}

// ---- TTimer ------------------------------------------------------------------

namespace {
UINT_PTR NextTimerId = 1;
}

TTimer::TTimer(TForm& owner, unsigned interval, bool enabled)
    : owner_(&owner), id_(NextTimerId++), interval_(interval), enabled_(enabled) {
  owner_->AddTimer(this);
  Update();
}

TTimer::~TTimer() {
  if (!owner_) return;
  if (running_ && owner_->Handle()) KillTimer(owner_->Handle(), id_);
  owner_->RemoveTimer(this);
}

void TTimer::Update() {
  HWND h = owner_ ? owner_->Handle() : nullptr;
  if (running_ && h) KillTimer(h, id_);
  running_ = false;
  if (enabled_ && interval_ > 0 && h) running_ = SetTimer(h, id_, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::Fire() {
  if (enabled_ && OnTimer) OnTimer();
}

// ---- TApplication ------------------------------------------------------------

namespace {
TBoxPresenter BoxPresenter;
void PumpHook() { Application.ProcessMessages(); }
}  // namespace

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  LoadLibraryA("riched20.dll");
  SetProcessMessagesHook(&PumpHook);
  SetMessagePresenter(&BoxPresenter);
}

void TApplication::Run() {
  if (MainForm && !MainForm->Visible()) MainForm->Show();
  while (!Terminated) HandleMessage();
}

void TApplication::Terminate() {
  if (!Terminated) PostQuitMessage(0);
  Terminated = true;
}

void TApplication::TranslateAndDispatch(MSG& msg) {
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (TForm* f = TForm::FromWindow(root)) {
      HACCEL a = f->AcceleratorTable();
      if (a && TranslateAcceleratorA(root, a, &msg)) return;
      if (IsDialogMessageA(root, &msg)) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Kept for the loop that owns it (ours, or the host's).
      Terminated = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateAndDispatch(msg);
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  BOOL r = GetMessageA(&msg, nullptr, 0, 0);
  if (r == 0) {
    Terminated = true;
    PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  if (r == -1) return;
  TranslateAndDispatch(msg);
}

void TApplication::HandleException() {
  std::string message;
  try {
    throw;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  try {
    ShowException(message);
  } catch (...) {
    // The report itself failed; nothing more can be said.
  }
}

void TApplication::ShowException(const std::string& message) {
  if (OnException) {
    OnException(message);
    return;
  }
  std::string text = message;
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBoxA(GetActiveWindow(), text.c_str(), Title.c_str(), MB_OK | MB_ICONSTOP);
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
  if (HelpFile.empty()) return false;
  HWND owner = GetActiveWindow();
  if (!owner && MainForm) owner = MainForm->Handle();
  return WinHelpA(owner, HelpFile.c_str(), command, data) != FALSE;
}

bool TApplication::HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context)); }

// ---- TScreen -----------------------------------------------------------------

void TScreen::SetCursor(HCURSOR c) {
  cursor_ = c;
  ::SetCursor(c ? c : LoadCursor(nullptr, IDC_ARROW));
}

int ScrollTrackPosition(HWND window, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(window, bar, &si);
  return si.nTrackPos;
}
