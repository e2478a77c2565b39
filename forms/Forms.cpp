// The control base of the forms layer: creation, the one dispatch point where
// messages enter the objects, layout, fonts and colours.
#include "Forms.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "FormsClasses.h"
#include "Module.h"

namespace {

const char* const ControlProp = "Usagram.Control";
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
  TSelectedObject g(dc, font);
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
  HWND h = CreateWindowExA(exStyle, FormsClasses::Control, text.c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
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
  HWND h = CreateWindowExA(exStyle, FormsClasses::Form, text.c_str(), style, b.Left, b.Top, b.Width, b.Height, owner,
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
      const TPaintDC dc(Handle());
      PaintTo(dc);
      return 0;
    }
    case WM_GETDLGCODE:
      return DialogCode();
  }
  return TControl::WndProc(msg, wp, lp);
}
