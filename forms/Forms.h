// The forms layer: a thin wrapper over Win32 windows, so that each window of
// the program reads like a Delphi form.
//
// What it wraps:
//  - Forms.h     TControl (any window of ours: bounds, alignment, font, colour,
//                events), TForm (top-level window, Show/ShowModal/Close,
//                ModalResult, accelerators of its menus), TTimer,
//                TApplication (message loop, ProcessMessages, error report,
//                help) and TScreen (the wait cursor).
//  - StdCtrls.h  button, check box, label, edit, memo, list box, combo box,
//                group box.
//  - ExtCtrls.h  panel, image (metafile or bitmap), shape.
//  - ComCtrls.h  status bar, tree view and image list, rich edit, scroll box.
//  - Grids.h     an owner-drawn grid (TDrawGrid).
//  - FileCtrl.h  the directory list box (one line per level).
//  - Menus.h     main and popup menus built in code, shortcuts.
//  - Dialogs.h   common dialogs, printer, message boxes, InputQuery, and the
//                message-box presenter of the Ridarar routines.
//
// Conventions:
//  - A form is a class with its controls as members. The form's window exists
//    once TForm's constructor has run; the derived constructor then creates
//    its controls with Create(parent, bounds, text) and assigns its handlers.
//  - Events are assignable std::function members named as in Delphi:
//    OnClick, OnChange, OnMouseDown, OnCreate, OnCloseQuery... A form names
//    its handlers after the control and the event (bOkClick, FormShow).
//  - A control owns its window and destroys it; GDI objects are held by
//    RAII handles. Controls are destroyed before their form (members of the
//    derived class go first); a form whose OnDestroy uses them calls
//    DestroyHandle() in its destructor.
//  - Siblings overlap in creation order: the first created is in front and
//    first in tab order.
//  - Exceptions never cross a window procedure: the dispatch catches them and
//    reports each one once through Application.ShowException.
//  - Strings are code page 1252 (the A functions). Sizes are pixels at 96 dpi.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "GdiGuard.h"
#include "OwnedHandle.h"

class TForm;
class TMainMenu;
class TMenu;
class TPopupMenu;
class TTimer;

// ---- Small types -----------------------------------------------------------

// Colours: an RGB value, or a system colour (high bit set, low byte the
// COLOR_ index) as Delphi has them.
using TColor = unsigned;
inline constexpr TColor clSystemFlag = 0x80000000u;
inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clNavy = 0x800000,
                        clRed = 0x0000FF, clLime = 0x00FF00, clBlue = 0xFF0000, clYellow = 0x00FFFF,
                        clWhite = 0xFFFFFF, clGray = 0x808080, clSilver = 0xC0C0C0;
inline constexpr TColor clBtnFace = clSystemFlag | COLOR_BTNFACE;
inline constexpr TColor clWindow = clSystemFlag | COLOR_WINDOW;
inline constexpr TColor clWindowText = clSystemFlag | COLOR_WINDOWTEXT;
inline constexpr TColor clBtnText = clSystemFlag | COLOR_BTNTEXT;
COLORREF ColorToRGB(TColor color);

// Shift state of the keyboard and mouse buttons, as a set of flags.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32,
                             ssDouble = 64;
TShiftState KeyboardShiftState();

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Modal results, with the values of the message box answers (IDOK...).
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

struct TBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

// A font description. Height is the character height in pixels (Delphi's
// negative Font.Height); Size, when not 0, is in points and wins.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = 11;
  TColor Color = clWindowText;
  bool Bold = false, Italic = false, Underline = false;
  int Size = 0;
};

HFONT CreateFontFrom(const TFont& font);

// Raised for misuse of the layer (a visible form made modal, a window that
// cannot be created); reported like any other exception.
class EInvalidOperation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- TControl --------------------------------------------------------------

// Any window of ours: a system control (button, edit...) subclassed by us, or
// a window of our own class (form, panel, image...). Every control can hold
// children; notifications of children (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*)
// are handed back to the child object that sent them.
// What a button does for the dialog keys of its form.
enum TButtonRole : unsigned {
  brDefault = 1,  // Enter clicks it
  brCancel = 2,   // Escape clicks it
};

// The program's private messages come from WM_APP, one range per part, so
// that no two parts send the same number to one window:
//   WM_APP + 0x320 .. 0x32F  the bug report's mail session (WM_SMTP_EVENTS)
//   WM_APP + 0x3F0 .. 0x3FF  the forms layer (below)
inline constexpr UINT WM_FORMS_FIRST = WM_APP + 0x3F0, WM_FORMS_LAST = WM_APP + 0x3FF;
// A form's own message: frees it after Close once its handlers have returned.
inline constexpr UINT WM_RELEASEFORM = WM_FORMS_FIRST + 0;
static_assert(WM_RELEASEFORM <= WM_FORMS_LAST);

class TControl {
 public:
  TControl();
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  HWND Handle() const { return hwnd_; }
  operator HWND() const { return hwnd_; }
  bool HandleAllocated() const { return hwnd_ != nullptr; }
  TControl* Parent() const { return parent_; }
  TForm* Form();  // the form this control sits on (itself for a form)
  const std::vector<TControl*>& Controls() const { return children_; }
  static TControl* FromHandle(HWND h);

  // Geometry, in the parent's client coordinates (screen for a form).
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;
  TBounds BoundsRect() const;
  void SetBounds(int left, int top, int width, int height);
  void SetBounds(const TBounds& b) { SetBounds(b.Left, b.Top, b.Width, b.Height); }
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  // Lays the aligned children out in the client area, top and bottom ones
  // first, then left and right, then the one that fills the rest.
  void Realign();

  bool Visible() const;
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const;
  void SetEnabled(bool e);

  // Caption or text.
  virtual std::string Text() const;
  virtual void SetText(const std::string& text);

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  HFONT FontHandle() const;
  TColor Color() const { return color_; }
  void SetColor(TColor c);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);

  // Siblings overlap in creation order: the first created is in front and
  // first in tab order. These move a control in front of or behind all.
  virtual void BringToFront();
  void SendToBack();

  void SetFocus();
  bool Focused() const;
  void Invalidate();
  void Update();

  // Events common to every control.
  std::function<void()> OnClick, OnDblClick, OnEnter, OnExit;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown, OnMouseUp;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  // Setting key to 0 swallows the key.
  std::function<void(WORD& key, TShiftState shift)> OnKeyDown, OnKeyUp;

  // Fires OnClick (buttons first set their form's ModalResult).
  virtual void Click();
  // The control's roles in the dialog keys: TButtonRole bits.
  virtual unsigned ButtonRoles() const { return 0; }

 protected:
  // A system control (class name of Win32), subclassed.
  void CreateNative(TControl& parent, const char* className, DWORD style, DWORD exStyle, const TBounds& b,
                    const std::string& text);
  // A window of our own control class, painted by Paint.
  void CreateCustom(TControl& parent, DWORD style, DWORD exStyle, const TBounds& b, const std::string& text);
  // Top-level window of the form class.
  void CreateTopLevel(HWND owner, DWORD style, DWORD exStyle, const TBounds& b, const std::string& text);

  // Message handling; derived classes handle what they need and call the base.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // Reflected notifications from the parent.
  virtual void Command(WORD /*code*/) {}
  virtual bool Notify(NMHDR* /*nm*/, LRESULT& /*result*/) { return false; }
  virtual HBRUSH CtlColor(HDC dc);
  // Our own windows paint here (also used for off-screen rendering).
  virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
  // The area of the client given to aligned children.
  virtual RECT AlignRect();
  // A child moved or changed size (the scroll box follows its range).
  virtual void ChildBoundsChanged(TControl* /*child*/) {}
  // Keys our own controls want from the dialog navigation.
  virtual UINT DialogCode() { return 0; }
  // A key that OnKeyDown left alone (controls of ours act on it here).
  virtual void DoKeyDown(WORD /*key*/, TShiftState /*shift*/) {}
  // WM_DRAWITEM reflected to an owner-drawn control.
  virtual bool DrawItem(DRAWITEMSTRUCT* /*item*/) { return false; }
  // The window is gone (destroyed by its parent or owner, or by us).
  virtual void HandleDestroyed() {}

  HBRUSH BackgroundBrush();
  void FillBackground(HDC dc, const RECT& r);

  bool clickOnMouseUp_ = false;  // our own controls and edits click on mouse up

 private:
  static LRESULT CALLBACK StaticWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  static LRESULT Dispatch(TControl* self, HWND h, UINT msg, WPARAM wp, LPARAM lp);
  void Attach(HWND h);
  void Detach();
  void SetParentObject(TControl* parent);
  void ApplyFont();
  void PropagateFont();
  bool MouseMessage(UINT msg, WPARAM wp, LPARAM lp);
  void AlignChildren();

  HWND hwnd_ = nullptr;
  bool native_ = false;
  TControl* parent_ = nullptr;
  std::vector<TControl*> children_;
  TAlign align_ = alNone;
  TFont font_;
  bool parentFont_ = true;
  std::shared_ptr<TOwnedGdiObject> hfont_;
  TColor color_ = clBtnFace;
  bool parentColor_ = true;
  std::unique_ptr<TOwnedGdiObject> brush_;
  TColor brushColor_ = 0;
  std::string hint_;
  bool mouseDown_ = false;
  bool realigning_ = false;
  bool realignAgain_ = false;

  friend class TForm;
  friend class TScrollBox;
};

// A control of our own window class: derive and override Paint.
class TCustomControl : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& text = {});
  // Draws the control into any DC, as WM_PAINT does.
  void PaintTo(HDC dc);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  DWORD extraStyle_ = 0, extraExStyle_ = 0;
};

// ---- TForm -----------------------------------------------------------------

enum TPosition { poDesigned, poScreenCenter };
enum TBorderStyle { bsSizeable, bsSingle, bsDialog, bsNone, bsToolWindow };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

struct TFormParams {
  std::string Caption;
  int ClientWidth = 0, ClientHeight = 0;  // client size, or
  int Width = 0, Height = 0;              // window size when not 0
  TPosition Position = poScreenCenter;
  int Left = 0, Top = 0;  // for poDesigned
  TBorderStyle BorderStyle = bsSizeable;
  bool StayOnTop = false;
  HWND Owner = nullptr;
  int HelpContext = 0;
};

class TForm : public TControl {
 public:
  explicit TForm(const TFormParams& params);
  ~TForm() override;

  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& c) { SetText(c); }
  void SetClientSize(int width, int height);
  void SetVisible(bool v) override;
  // Brings the form to the front, showing it if needed.
  void BringToFront() override;

  // Modal showing: disables the owner (or the window active at the call)
  // and the other visible windows of the thread, runs its own loop until
  // ModalResult is set and the close is allowed, hides the form, enables
  // them again and returns ModalResult.
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult = mrNone;
  // Asks OnCloseQuery, then OnClose decides: hide (default), nothing,
  // minimise or free (the window is destroyed after the current message and
  // OnRelease lets the owner free the object). Closing the main form ends
  // the application. A modal form gets mrCancel.
  void Close();
  bool CloseQuery();
  // Destroys the window now; OnDestroy runs while the members still exist,
  // so a form whose OnDestroy uses them calls this in its own destructor.
  void DestroyHandle();

  void SetMenu(TMainMenu* menu);
  TMainMenu* Menu() const { return menu_; }
  // Popup menus whose shortcuts belong to this form.
  void AddPopupMenu(TPopupMenu* menu);
  // The accelerator table built from the shortcuts of the form's menus.
  HACCEL AcceleratorTable();
  // Clicks the menu item with this shortcut, if any. Keys reach it when the
  // message loop is not ours (the IDE's, when we are its expert).
  bool IsShortCut(WORD key, TShiftState shift);

  int HelpContext = 0;
  bool ShowHint = false;
  bool KeyPreview = false;  // the form's OnKeyDown sees keys before its controls

  // Lays the controls out and fires OnCreate; derived constructors call it
  // once their controls exist.
  void FinishCreate();

  std::function<void()> OnCreate, OnShow, OnHide, OnDestroy, OnActivate, OnResize, OnRelease;
  std::function<void(HDC dc)> OnPaint;
  std::function<void(bool& canClose)> OnCloseQuery;
  std::function<void(TCloseAction& action)> OnClose;

  static TForm* FromWindow(HWND anyWindowOfIt);
  // Routes the timers of this form.
  void AddTimer(TTimer* t);
  void RemoveTimer(TTimer* t);
  // The tooltip of this form's hints.
  void RegisterHint(TControl* c);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void HandleDestroyed() override;

 private:
  TControl* FindById(TControl* root, int id);
  TControl* FindButton(TControl* root, bool cancel);
  void CenterOnScreen();

  friend class TMainMenu;
  friend class TPopupMenu;

  TPosition position_;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool sizeIsClient_ = true;
  bool firstShow_ = true;
  bool modal_ = false;
  TMainMenu* menu_ = nullptr;
  std::vector<TPopupMenu*> popups_;
  TOwnedAcceleratorTable accel_;
  unsigned accelGeneration_ = ~0u;
  std::vector<TTimer*> timers_;
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;
};

// ---- TTimer -----------------------------------------------------------------

// A timer on its form's window (WM_TIMER); runs while Enabled and Interval
// is not 0.
class TTimer {
 public:
  explicit TTimer(TForm& owner, unsigned interval = 1000, bool enabled = false);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  UINT_PTR Id() const { return id_; }
  std::function<void()> OnTimer;

 private:
  friend class TForm;
  void Update();
  void Fire();
  TForm* owner_;  // cleared when the form goes first
  UINT_PTR id_;
  unsigned interval_;
  bool enabled_;
  bool running_ = false;
};

// ---- TApplication ----------------------------------------------------------

class TApplication {
 public:
  std::string Title = "Usagram";
  std::string HelpFile;
  TForm* MainForm = nullptr;
  // The owner of every form made without one: the IDE's main window when
  // the library runs inside the IDE, so that our windows stay above it and
  // leave the taskbar to it; none in a program of ours.
  HWND Handle = nullptr;
  bool Terminated = false;

  // Common controls, the rich edit library, the message pump of Yield.h and
  // the message-box presenter of the Ridarar routines.
  void Initialize();
  // The program's message loop, until the main form closes.
  void Run();
  void Terminate();
  // Handles every pending message, then returns.
  void ProcessMessages();
  // Waits for one message and handles it (the modal loops use this).
  void HandleMessage();
  // Accelerators of the form the message is for, dialog keys, dispatch.
  void TranslateAndDispatch(MSG& msg);

  // Called in a catch block: reports the exception being handled, once.
  void HandleException();
  // The error report: a box with the message, captioned with Title.
  // OnException replaces it (tests record instead).
  void ShowException(const std::string& message);
  std::function<void(const std::string& message)> OnException;

  // HTML Help on HelpFile (HtmlHelp.h): the page of a window's help
  // context, or the table of contents. False when the help cannot be shown;
  // the user has been told why, in one box naming the file.
  bool HelpContext(int context);
  bool HelpContents();
  // The window the viewer belongs to: the active window, or the main form.
  HWND HelpCaller() const;
};
extern TApplication Application;

// ---- TScreen: the cursor ---------------------------------------------------

class TScreen {
 public:
  // nullptr = each window's own cursor; otherwise shown over all our windows.
  HCURSOR Cursor() const { return cursor_; }
  void SetCursor(HCURSOR c);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  HCURSOR cursor_ = nullptr;
};
extern TScreen Screen;

// The hourglass for the life of the object, then the previous cursor.
class TWaitCursor {
 public:
  TWaitCursor() : previous_(Screen.Cursor()) { Screen.SetCursor(LoadCursor(nullptr, IDC_WAIT)); }
  ~TWaitCursor() { Screen.SetCursor(previous_); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Text extent of a string in a font (labels size themselves with it).
SIZE TextExtent(const TFont& font, const std::string& text);
// The size of a text drawn with DrawText's flags in the font; width, when
// not 0, is the width that the text wraps to. An empty text is zero wide
// and one line high.
SIZE MeasureText(HFONT font, const std::string& text, UINT flags, int width);

// Where the user holds a scroll bar's thumb (SB_HORZ or SB_VERT), for
// SB_THUMBTRACK and SB_THUMBPOSITION: 32-bit, unlike the message's own.
int ScrollTrackPosition(HWND window, int bar);
