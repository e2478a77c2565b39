#include "StdCtrls.h"

#include <windowsx.h>

#include <algorithm>

// ---- TButton -----------------------------------------------------------------

void TButton::Create(TControl& parent, const TBounds& b, const std::string& caption) {
  CreateNative(parent, "BUTTON", WS_TABSTOP | (Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0, b, caption);
}

void TButton::SetGlyph(HBITMAP bitmap) {
  glyph_ = std::make_unique<TOwnedGdiObject>(bitmap);
  if (!Handle()) return;
  SetWindowLongA(Handle(), GWL_STYLE, (GetWindowLongA(Handle(), GWL_STYLE) & ~BS_ICON) | BS_BITMAP);
  SendMessageA(Handle(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  Invalidate();
}

void TButton::Click() {
  if (ModalResult != mrNone)
    if (TForm* f = Form()) f->ModalResult = ModalResult;
  TControl::Click();
}

void TButton::Command(WORD code) {
  if (code == BN_CLICKED) Click();
}

// ---- TCheckBox ---------------------------------------------------------------

void TCheckBox::Create(TControl& parent, const TBounds& b, const std::string& caption, bool checked) {
  // A plain check box: the state changes in one place, SetChecked.
  CreateNative(parent, "BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, b, caption);
  if (checked) SendMessageA(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

bool TCheckBox::Checked() const { return Handle() && SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool c) {
  if (!Handle() || c == Checked()) return;
  SendMessageA(Handle(), BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
  Click();
}

void TCheckBox::Command(WORD code) {
  if (code == BN_CLICKED) SetChecked(!Checked());
}

// ---- TLabel ------------------------------------------------------------------

void TLabel::Create(TControl& parent, int left, int top, const std::string& caption) {
  TCustomControl::Create(parent, {left, top, 0, 0}, caption);
  AdjustSize();
}

void TLabel::Create(TControl& parent, const TBounds& b, const std::string& caption) {
  autoSize_ = false;
  TCustomControl::Create(parent, b, caption);
}

UINT TLabel::DrawFlags() const {
  UINT f = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  if (alignment_ == taCenter) f |= DT_CENTER;
  if (alignment_ == taRightJustify) f |= DT_RIGHT;
  return f;
}

void TLabel::AdjustSize() {
  if (!autoSize_ || !Handle()) return;
  const SIZE size = MeasureText(FontHandle(), Text(), DrawFlags(), wordWrap_ ? Width() : 0);
  SetBounds(Left(), Top(), wordWrap_ ? Width() : size.cx, size.cy);
}

void TLabel::SetText(const std::string& text) {
  TControl::SetText(text);
  AdjustSize();
  Invalidate();
}

void TLabel::SetAutoSize(bool a) {
  autoSize_ = a;
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

void TLabel::SetWordWrap(bool w) {
  wordWrap_ = w;
  AdjustSize();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool s) {
  showAccelChar_ = s;
  Invalidate();
}

void TLabel::Paint(HDC dc, const RECT& client) {
  std::string t = Text();
  TSelectedObject g(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Enabled() ? ColorToRGB(Font().Color) : GetSysColor(COLOR_GRAYTEXT));
  RECT r = client;
  DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, DrawFlags());
}

LRESULT TLabel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFONT) {
    AdjustSize();
    Invalidate();
    return 0;
  }
  return TCustomControl::WndProc(msg, wp, lp);
}

// ---- TEdit and TMemo -----------------------------------------------------------

void TEdit::Create(TControl& parent, const TBounds& b, const std::string& text) {
  clickOnMouseUp_ = true;
  CreateNative(parent, "EDIT", WS_TABSTOP | extraStyle_, WS_EX_CLIENTEDGE, b, text);
  SetColor(clWindow);
}

bool TEdit::ReadOnly() const { return Handle() && (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY); }
void TEdit::SetReadOnly(bool r) { SendMessageA(Handle(), EM_SETREADONLY, r, 0); }
void TEdit::SetMaxLength(int n) { SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(std::max(n, 0)), 0); }
void TEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

int TEdit::SelStart() const {
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  return static_cast<int>(s);
}

int TEdit::SelLength() const {
  DWORD s = 0, e = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  return static_cast<int>(e - s);
}

void TEdit::SetSel(int start, int length) { SendMessageA(Handle(), EM_SETSEL, start, start + length); }
bool TEdit::Modified() const { return SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0; }
void TEdit::SetModified(bool m) { SendMessageA(Handle(), EM_SETMODIFY, m, 0); }

void TEdit::Command(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
}

void TMemo::Create(TControl& parent, const TBounds& b, TScrollStyle scrollBars, bool border) {
  clickOnMouseUp_ = true;
  DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (scrollBars == ssVertical || scrollBars == ssBoth) style |= WS_VSCROLL;
  if (scrollBars == ssHorizontal || scrollBars == ssBoth) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  CreateNative(parent, "EDIT", style, border ? WS_EX_CLIENTEDGE : 0, b, {});
  SetColor(clWindow);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string t = Text();
  size_t start = 0;
  while (start < t.size()) {
    size_t end = t.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(t.substr(start));
      break;
    }
    lines.push_back(t.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string t;
  for (size_t i = 0; i < lines.size(); ++i) t += (i ? "\r\n" : "") + lines[i];
  SetText(t);
}

void TMemo::AddLine(const std::string& line) {
  int n = GetWindowTextLengthA(Handle());
  std::string add = (n ? "\r\n" : "") + line;
  SendMessageA(Handle(), EM_SETSEL, n, n);
  SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(add.c_str()));
}

// ---- TListBox ----------------------------------------------------------------

void TListBox::Create(TControl& parent, const TBounds& b, bool sorted) {
  CreateNative(parent, "LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | (sorted ? LBS_SORT : 0),
               WS_EX_CLIENTEDGE, b, {});
  SetColor(clWindow);
}

void TListBox::Clear() { SendMessageA(Handle(), LB_RESETCONTENT, 0, 0); }

int TListBox::Add(const std::string& item) {
  return static_cast<int>(SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int TListBox::Count() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)); }

std::string TListBox::Items(int i) const {
  LRESULT n = SendMessageA(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n == LB_ERR) throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(Handle(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
  return s;
}

int TListBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }
void TListBox::SetItemIndex(int i) { SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0); }
void TListBox::SetItemHeight(int h) { SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, h); }
int TListBox::ItemHeight() const { return static_cast<int>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0)); }

void TListBox::Command(WORD code) {
  if (code == LBN_SELCHANGE) Click();  // double clicks come through OnDblClick of the mouse
}

// ---- TComboBox ---------------------------------------------------------------

void TComboBox::Create(TControl& parent, const TBounds& b, bool editable, int dropDownCount) {
  // The window's height includes the dropped list.
  TBounds w = b;
  w.Height = b.Height + std::max(dropDownCount, 1) * 16;
  CreateNative(parent, "COMBOBOX", WS_TABSTOP | WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST),
               0, w, {});
  SetColor(clWindow);
}

void TComboBox::Clear() { SendMessageA(Handle(), CB_RESETCONTENT, 0, 0); }

int TComboBox::Add(const std::string& item) {
  return static_cast<int>(SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
}

int TComboBox::Count() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Items(int i) const {
  LRESULT n = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
  if (n == CB_ERR) throw std::out_of_range("List index out of bounds (" + std::to_string(i) + ")");
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
  return s;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }
void TComboBox::SetItemIndex(int i) { SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0); }

void TComboBox::Command(WORD code) {
  if ((code == CBN_SELCHANGE || code == CBN_EDITCHANGE) && OnChange) OnChange();
}

// ---- TGroupBox ---------------------------------------------------------------

void TGroupBox::Create(TControl& parent, const TBounds& b, const std::string& caption) {
  extraExStyle_ = WS_EX_CONTROLPARENT;
  TCustomControl::Create(parent, b, caption);
  clickOnMouseUp_ = false;
}

RECT TGroupBox::AlignRect() {
  RECT r = TCustomControl::AlignRect();
  int h = TextExtent(Font(), "M").cy;
  InflateRect(&r, -2, -2);
  r.top += h - 2;
  return r;
}

void TGroupBox::Paint(HDC dc, const RECT& client) {
  TSelectedObject g(dc, FontHandle());
  std::string t = Text();
  SIZE ext{};
  GetTextExtentPoint32A(dc, "M", 1, &ext);
  RECT frame = client;
  frame.top += ext.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (!t.empty()) {
    RECT tr{8, 0, 8, ext.cy};
    DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
    InflateRect(&tr, 2, 0);
    FillBackground(dc, tr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font().Color));
    InflateRect(&tr, -2, 0);
    DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &tr, DT_SINGLELINE);
  }
}
