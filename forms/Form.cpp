// The form: a top-level window with its controls, menus, timers, hints and
// modal loop.
#include "Forms.h"

#include <commctrl.h>

#include <algorithm>

#include "FormsClasses.h"
#include "Menus.h"
#include "Module.h"

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
        // Our own icon, also inside the IDE (not the IDE's).
        wc.hIcon = LoadIconA(ThisModule(), "MAINICON");
        if (!wc.hIcon) wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
      }
      wc.lpszClassName = i == 0 ? FormsClasses::Form : FormsClasses::Control;
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
  CreateTopLevel(p.Owner ? p.Owner : Application.Handle, style, ex, {p.Left, p.Top, r.right - r.left, r.bottom - r.top}, p.Caption);
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
  accel_.Reset();
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
  HWND active = GetActiveWindow();
  if (active == Handle()) active = nullptr;
  HWND owner = GetWindow(Handle(), GW_OWNER);
  if (!owner) owner = active;
  // The owner and every other visible window of this thread are disabled
  // (as Delphi does), so no other command runs while the form is up; they
  // are enabled again and the form hidden, however the loop ends. The
  // window that was active gets the focus back: inside the IDE the owner is
  // the IDE's main window, not the window of ours that opened the form.
  struct ModalState {
    TForm& form;
    HWND owner, active;
    std::vector<HWND> disabled;
    ~ModalState() {
      for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
      form.modal_ = false;
      if (form.Handle()) {
        form.Hide();
        HWND back = active && IsWindow(active) ? active : owner;
        if (back && IsWindow(back)) SetActiveWindow(back);
      }
    }
  } state{*this, owner, active, {}};
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
    accel_.Attach(BuildAcceleratorTable(menu_, popups_));
    accelGeneration_ = MenuGeneration();
  }
  return accel_.Get();
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
      const TPaintDC dc(Handle());
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
