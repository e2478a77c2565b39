#include "ComCtrls.h"

#include <richedit.h>

#include "Dialogs.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "GdiGuard.h"
#include "Handle.h"

// ---- TStatusBar --------------------------------------------------------------

void TStatusBar::Create(TControl& parent) {
  CreateNative(parent, STATUSCLASSNAMEA, 0, 0, {0, 0, 0, 0}, {});
  SendMessageA(Handle(), WM_SIZE, 0, 0);
  SetAlign(alBottom);
}

LRESULT TStatusBar::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == RefreshTimer) {
    ShowPendingPanels();
    return 0;
  }
  LRESULT r = TControl::WndProc(msg, wp, lp);
  if (msg == WM_SETFONT && Handle()) {
    // The bar's height follows its font.
    SendMessageA(Handle(), WM_SIZE, 0, 0);
    if (Parent()) Parent()->Realign();
  }
  return r;
}

void TStatusBar::ShowPanel(size_t i) {
  const TStatusPanel& p = panels_[i];
  std::string t = (p.Alignment == taCenter ? "\t" : p.Alignment == taRightJustify ? "\t\t" : "") + p.Text;
  SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.c_str()));
}

void TStatusBar::SetPanels(const std::vector<TStatusPanel>& panels) {
  panels_ = panels;
  std::vector<int> edges;
  int x = 0;
  for (size_t i = 0; i < panels_.size(); ++i) {
    x += panels_[i].Width;
    edges.push_back(i + 1 == panels_.size() ? -1 : x);
  }
  if (edges.empty()) edges.push_back(-1);
  SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  for (size_t i = 0; i < panels_.size(); ++i) ShowPanel(i);
  pending_ = 0;
}

void TStatusBar::SetPanelText(int i, const std::string& text) {
  if (i < 0 || static_cast<size_t>(i) >= panels_.size())
    throw std::out_of_range("Status bar panel index out of bounds (" + std::to_string(i) + ")");
  panels_[static_cast<size_t>(i)].Text = text;
  // A long run names a unit every millisecond, and the control takes
  // milliseconds to show a text (Wine paints it at once): a text set within
  // RefreshMs of the last one shown waits for the refresh timer, which shows
  // the latest text of each panel. PanelText always answers the latest.
  if (i >= 32) {  // beyond the pending set: shown at once
    ShowPanel(static_cast<size_t>(i));
    return;
  }
  pending_ |= 1u << i;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ >= std::chrono::milliseconds(RefreshMs) || !Handle()) {
    ShowPendingPanels();
  } else if (!refreshing_) {
    refreshing_ = SetTimer(Handle(), RefreshTimer, RefreshMs, nullptr) != 0;
    if (!refreshing_) ShowPendingPanels();
  }
}

void TStatusBar::ShowPendingPanels() {
  if (refreshing_ && Handle()) KillTimer(Handle(), RefreshTimer);
  refreshing_ = false;
  lastShown_ = std::chrono::steady_clock::now();
  for (size_t i = 0; i < panels_.size(); ++i)
    if (i < 32 && (pending_ & (1u << i))) ShowPanel(i);
  pending_ = 0;
}

// ---- TImageList --------------------------------------------------------------

TImageList::TImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

TImageList::~TImageList() = default;

int TImageList::Add(HBITMAP bmp, TColor maskColor) {
  return ImageList_AddMasked(list_.Get(), bmp, ColorToRGB(maskColor));
}
int TImageList::AddIcon(HICON icon) { return ImageList_AddIcon(list_.Get(), icon); }
int TImageList::Count() const { return ImageList_GetImageCount(list_.Get()); }
void TImageList::Draw(HDC dc, int x, int y, int index) const {
  ImageList_Draw(list_.Get(), index, dc, x, y, ILD_TRANSPARENT);
}

HBITMAP TImageList::CreateBitmap(int index, TColor background) const {
  TWindowDC screen;
  HBITMAP bmp = CreateCompatibleBitmap(screen, width_, height_);
  TCreatedDC mem(CreateCompatibleDC(screen));
  {
    TSelectedObject g(mem, bmp);
    TOwnedGdiObject brush(CreateSolidBrush(ColorToRGB(background)));
    RECT r{0, 0, width_, height_};
    FillRect(mem, &r, static_cast<HBRUSH>(brush.Get()));
    Draw(mem, 0, 0, index);
  }
  return bmp;
}

// ---- TTreeView ---------------------------------------------------------------

void TTreeView::Create(TControl& parent, const TBounds& b) {
  CreateNative(parent, WC_TREEVIEWA, WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
               WS_EX_CLIENTEDGE, b, {});
  SetColor(clWindow);
}

void TTreeView::SetImages(TImageList* images) {
  TreeView_SetImageList(Handle(), images ? images->Handle() : nullptr, TVSIL_NORMAL);
}

void TTreeView::SetIndent(int indent) { TreeView_SetIndent(Handle(), indent); }
int TTreeView::Indent() const { return static_cast<int>(TreeView_GetIndent(Handle())); }
void TTreeView::Clear() { TreeView_DeleteAllItems(Handle()); }

TTreeNode TTreeView::AddChild(TTreeNode parent, const std::string& text, int imageIndex) {
  TVINSERTSTRUCTA is{};
  is.hParent = parent ? parent : TVI_ROOT;
  is.hInsertAfter = TVI_LAST;
  is.item.mask = TVIF_TEXT;
  is.item.pszText = const_cast<char*>(text.c_str());
  if (imageIndex >= 0) {
    is.item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    is.item.iImage = is.item.iSelectedImage = imageIndex;
  }
  auto node = reinterpret_cast<TTreeNode>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
  if (!node) throw std::runtime_error("Cannot add the tree node \"" + text + "\"");
  return node;
}

std::string TTreeView::NodeText(TTreeNode node) const {
  char buf[1024] = {};
  TVITEMA it{};
  it.mask = TVIF_TEXT;
  it.hItem = node;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return buf;
}

int TTreeView::NodeImage(TTreeNode node) const {
  TVITEMA it{};
  it.mask = TVIF_IMAGE;
  it.hItem = node;
  SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  return it.iImage;
}

TTreeNode TTreeView::FirstChild(TTreeNode parent) const {
  return parent ? TreeView_GetChild(Handle(), parent) : TreeView_GetRoot(Handle());
}

TTreeNode TTreeView::NextSibling(TTreeNode node) const { return TreeView_GetNextSibling(Handle(), node); }
int TTreeView::Count() const { return static_cast<int>(TreeView_GetCount(Handle())); }

bool TTreeView::Expanded(TTreeNode node) const {
  return (TreeView_GetItemState(Handle(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

void TTreeView::SetExpanded(TTreeNode node, bool expanded) {
  TreeView_Expand(Handle(), node, expanded ? TVE_EXPAND : TVE_COLLAPSE);
}

void TTreeView::ExpandAll(TTreeNode first, UINT how) {
  for (TTreeNode n = first; n; n = NextSibling(n)) {
    TreeView_Expand(Handle(), n, how);
    ExpandAll(FirstChild(n), how);
  }
}

void TTreeView::FullExpand() { ExpandAll(FirstChild(nullptr), TVE_EXPAND); }
void TTreeView::FullCollapse() { ExpandAll(FirstChild(nullptr), TVE_COLLAPSE); }
TTreeNode TTreeView::Selected() const { return TreeView_GetSelection(Handle()); }
void TTreeView::SetSelected(TTreeNode node) { TreeView_SelectItem(Handle(), node); }

bool TTreeView::Notify(NMHDR* nm, LRESULT&) {
  if ((nm->code == TVN_SELCHANGEDA || nm->code == TVN_SELCHANGEDW) && OnChange) OnChange();
  return false;
}

// ---- TRichEdit ---------------------------------------------------------------

namespace {

DWORD CALLBACK ReadCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
  DWORD n = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(cookie), buf, static_cast<DWORD>(cb), &n, nullptr)) return 1;
  *done = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
  DWORD n = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(cookie), buf, static_cast<DWORD>(cb), &n, nullptr) ||
      n != static_cast<DWORD>(cb))
    return 1;
  *done = static_cast<LONG>(n);
  return 0;
}

struct TStringSource {
  const std::string* Text;
  size_t Offset = 0;
};

DWORD CALLBACK ReadStringCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
  auto* stream = reinterpret_cast<TStringSource*>(cookie);
  const size_t n = std::min(static_cast<size_t>(cb), stream->Text->size() - stream->Offset);
  std::memcpy(buf, stream->Text->data() + stream->Offset, n);
  stream->Offset += n;
  *done = static_cast<LONG>(n);
  return 0;
}

DWORD CALLBACK WriteStringCallback(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buf), static_cast<size_t>(cb));
  *done = cb;
  return 0;
}

}  // namespace

void TRichEdit::Create(TControl& parent, const TBounds& b, bool plainText, bool border, TScrollStyle scrollBars) {
  static HMODULE lib = LoadLibraryA("riched20.dll");
  if (!lib) throw EInvalidOperation("The rich edit library riched20.dll cannot be loaded");
  DWORD style = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;
  if (scrollBars == ssVertical || scrollBars == ssBoth) style |= WS_VSCROLL;
  if (scrollBars == ssHorizontal || scrollBars == ssBoth) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  CreateNative(parent, RICHEDIT_CLASSA, style, border ? WS_EX_CLIENTEDGE : 0, b, {});
  if (plainText) SendMessageA(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageA(Handle(), EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
  SendMessageA(Handle(), EM_SETEVENTMASK, 0, ENM_CHANGE);
  SetColor(clWindow);
}

void TRichEdit::LoadFromFile(const std::string& path) {
  THandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) throw std::runtime_error("Cannot open file \"" + path + "\"");
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f.Get()), 0, &ReadCallback};
  SendMessageA(Handle(), EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
  if (es.dwError) throw std::runtime_error("Cannot read file \"" + path + "\"");
  SetModified(false);
  SetSel(0, 0);
}

void TRichEdit::SaveToFile(const std::string& path) {
  THandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) throw std::runtime_error("Cannot create file \"" + path + "\"");
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(f.Get()), 0, &WriteCallback};
  SendMessageA(Handle(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
  if (es.dwError) throw std::runtime_error("Cannot write file \"" + path + "\"");
}

std::string TRichEdit::PlainText() const {
  std::string text;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&text), 0, &WriteStringCallback};
  SendMessageA(Handle(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
  return text;
}

void TRichEdit::SetPlainText(const std::string& text) {
  TStringSource stream{&text};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, &ReadStringCallback};
  SendMessageA(Handle(), EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
}

void TRichEdit::Clear() { SetText({}); }

int TRichEdit::TextLength() const {
  GETTEXTLENGTHEX gl{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int>(SendMessageA(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&gl), 0));
}

bool TRichEdit::Modified() const { return SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0; }
void TRichEdit::SetModified(bool m) { SendMessageA(Handle(), EM_SETMODIFY, m, 0); }
bool TRichEdit::ReadOnly() const { return Handle() && (GetWindowLongA(Handle(), GWL_STYLE) & ES_READONLY); }
void TRichEdit::SetReadOnly(bool r) { SendMessageA(Handle(), EM_SETREADONLY, r, 0); }

void TRichEdit::SetColor(TColor c) {
  TControl::SetColor(c);
  SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(c)));
}

int TRichEdit::SelStart() const {
  CHARRANGE cr{};
  SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
  return cr.cpMin;
}

int TRichEdit::SelLength() const {
  CHARRANGE cr{};
  SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
  return cr.cpMax - cr.cpMin;
}

void TRichEdit::SetSel(int start, int length) {
  CHARRANGE cr{start, length < 0 ? -1 : start + length};
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

std::string TRichEdit::SelText() const {
  std::string s(static_cast<size_t>(SelLength()) * 2 + 1, '\0');
  LRESULT n = SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
  return s;
}

void TRichEdit::SetSelText(const std::string& text) {
  SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TRichEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TRichEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TRichEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }
void TRichEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }

void TRichEdit::SetSelBold(bool bold) {
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_BOLD;
  cf.dwEffects = bold ? CFE_BOLD : 0;
  SendMessageA(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void TRichEdit::SetSelFont(const std::string& name, int pointSize, bool bold) {
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_BOLD | (pointSize > 0 ? CFM_SIZE : 0);
  cf.dwEffects = bold ? CFE_BOLD : 0;
  cf.yHeight = pointSize * 20;
  lstrcpynA(cf.szFaceName, name.c_str(), LF_FACESIZE);
  SendMessageA(Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void TRichEdit::SetParagraphAlignment(TAlignment a) {
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  pf.dwMask = PFM_ALIGNMENT;
  pf.wAlignment = a == taCenter ? PFA_CENTER : a == taRightJustify ? PFA_RIGHT : PFA_LEFT;
  SendMessageA(Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
}

TAlignment TRichEdit::ParagraphAlignment() const {
  PARAFORMAT2 pf{};
  pf.cbSize = sizeof pf;
  SendMessageA(Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
  return pf.wAlignment == PFA_CENTER ? taCenter : pf.wAlignment == PFA_RIGHT ? taRightJustify : taLeftJustify;
}

TRichEdit::TSelAttributes TRichEdit::SelAttributes() const {
  // The format of the first character, not of the whole selection.
  CHARRANGE saved{};
  SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  CHARRANGE first{saved.cpMin, saved.cpMin + 1};
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
  CHARFORMAT2A cf{};
  cf.cbSize = sizeof cf;
  SendMessageA(Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
  return {cf.szFaceName, static_cast<int>(cf.yHeight / 20), (cf.dwEffects & CFE_BOLD) != 0};
}

std::pair<int, int> TRichEdit::AppendParagraph(const std::string& text) {
  const int n = TextLength();
  SetSel(n, 0);
  SetSelText((n ? "\r" : "") + text);
  const int start = n + (n ? 1 : 0);
  return {start, start + static_cast<int>(text.size())};
}

void TRichEdit::HideCaret() {
  caretHidden_ = true;
  ::HideCaret(Handle());
}

LRESULT TRichEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = TControl::WndProc(msg, wp, lp);
  // The control makes a new caret with the focus.
  if (msg == WM_SETFOCUS && caretHidden_ && Handle()) ::HideCaret(Handle());
  return result;
}

void TRichEdit::Print(const std::string& title) {
  TPrinter& printer = Printer();
  printer.BeginDoc(title);
  // The control keeps what it measured on the printer until told to forget.
  struct TJob {
    HWND edit;
    TPrinter& printer;
    bool done = false;
    ~TJob() {
      SendMessageA(edit, EM_FORMATRANGE, FALSE, 0);
      if (!done) printer.Abort();
    }
  } job{Handle(), printer};
  const HDC dc = printer.Handle();
  const int w = GetDeviceCaps(dc, PHYSICALWIDTH), h = GetDeviceCaps(dc, PHYSICALHEIGHT);
  const int dpiX = std::max(GetDeviceCaps(dc, LOGPIXELSX), 1), dpiY = std::max(GetDeviceCaps(dc, LOGPIXELSY), 1);
  FORMATRANGE fr{};
  fr.hdc = fr.hdcTarget = dc;
  fr.rcPage = {0, 0, MulDiv(w, 1440, dpiX), MulDiv(h, 1440, dpiY)};
  fr.rc = fr.rcPage;
  InflateRect(&fr.rc, -720, -720);  // half-inch margins
  const int length = TextLength();
  fr.chrg = {0, -1};
  for (;;) {
    const LONG next = static_cast<LONG>(SendMessageA(Handle(), EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&fr)));
    if (next <= fr.chrg.cpMin || next >= length) break;
    fr.chrg.cpMin = next;
    printer.NewPage();
  }
  printer.EndDoc();
  job.done = true;
}

void TRichEdit::Command(WORD code) {
  if (code == EN_CHANGE && OnChange) OnChange();
}

// ---- TScrollBox --------------------------------------------------------------

void TScrollBox::Create(TControl& parent, const TBounds& b) {
  extraStyle_ = WS_HSCROLL | WS_VSCROLL;
  extraExStyle_ = WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT;
  TCustomControl::Create(parent, b);
  clickOnMouseUp_ = false;
  UpdateScrollBars();
}

int TScrollBox::HorzRange() const {
  int r = 0;
  for (TControl* c : Controls())
    if (c->Visible() && c->Align() == alNone) r = std::max(r, c->Left() + c->Width() + hpos_);
  return r;
}

int TScrollBox::VertRange() const {
  int r = 0;
  for (TControl* c : Controls())
    if (c->Visible() && c->Align() == alNone) r = std::max(r, c->Top() + c->Height() + vpos_);
  return r;
}

void TScrollBox::ScrollTo(int h, int v) {
  const int dx = h - hpos_, dy = v - vpos_;
  hpos_ = h;
  vpos_ = v;
  if (dx || dy) {
    for (TControl* c : Controls()) {
      if (c->Align() != alNone || !c->Handle()) continue;
      TBounds b = c->BoundsRect();
      SetWindowPos(c->Handle(), nullptr, b.Left - dx, b.Top - dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  SetScrollPos(Handle(), SB_HORZ, hpos_, TRUE);
  SetScrollPos(Handle(), SB_VERT, vpos_, TRUE);
}

void TScrollBox::UpdateScrollBars() {
  if (updating_ || !Handle()) return;
  updating_ = true;
  // Decide both bars from the client without bars: each bar takes room
  // from the other direction.
  const LONG style = GetWindowLongA(Handle(), GWL_STYLE);
  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  const int fullW = ClientWidth() + ((style & WS_VSCROLL) ? cx : 0);
  const int fullH = ClientHeight() + ((style & WS_HSCROLL) ? cy : 0);
  const int hr = HorzRange(), vr = VertRange();
  bool needH = hr > fullW, needV = vr > fullH;
  if (needH && !needV) needV = vr > fullH - cy;
  if (needV && !needH) needH = hr > fullW - cx;
  const int pageW = fullW - (needV ? cx : 0), pageH = fullH - (needH ? cy : 0);
  const int h = needH ? std::clamp(hpos_, 0, hr - pageW) : 0;
  const int v = needV ? std::clamp(vpos_, 0, vr - pageH) : 0;
  for (int bar : {SB_HORZ, SB_VERT}) {
    const bool need = bar == SB_HORZ ? needH : needV;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (need) {
      si.nMax = (bar == SB_HORZ ? hr : vr) - 1;
      si.nPage = static_cast<UINT>(bar == SB_HORZ ? pageW : pageH);
      si.nPos = bar == SB_HORZ ? h : v;
    }
    SetScrollInfo(Handle(), bar, &si, TRUE);
  }
  if (h != hpos_ || v != vpos_) ScrollTo(h, v);
  updating_ = false;
  Realign();  // the client may have changed with the bars
}

void TScrollBox::SetHorzPosition(int p) {
  p = std::clamp(p, 0, std::max(0, HorzRange() - ClientWidth()));
  ScrollTo(p, vpos_);
}

void TScrollBox::SetVertPosition(int p) {
  p = std::clamp(p, 0, std::max(0, VertRange() - ClientHeight()));
  ScrollTo(hpos_, p);
}

void TScrollBox::ChildBoundsChanged(TControl*) { UpdateScrollBars(); }

void TScrollBox::OnScroll(int bar, WORD code) {
  const bool horz = bar == SB_HORZ;
  const int pos = horz ? hpos_ : vpos_, page = horz ? ClientWidth() : ClientHeight();
  int p = pos;
  switch (code) {
    case SB_LINEUP:
      p -= 8;
      break;
    case SB_LINEDOWN:
      p += 8;
      break;
    case SB_PAGEUP:
      p -= page;
      break;
    case SB_PAGEDOWN:
      p += page;
      break;
    case SB_TOP:
      p = 0;
      break;
    case SB_BOTTOM:
      p = horz ? HorzRange() : VertRange();
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      p = ScrollTrackPosition(Handle(), bar);
      break;
    default:
      return;
  }
  if (horz)
    SetHorzPosition(p);
  else
    SetVertPosition(p);
}

LRESULT TScrollBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_HSCROLL:
      OnScroll(SB_HORZ, LOWORD(wp));
      return 0;
    case WM_VSCROLL:
      OnScroll(SB_VERT, LOWORD(wp));
      return 0;
    case WM_MOUSEWHEEL:
      SetVertPosition(vpos_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 24);
      return 0;
    case WM_SIZE: {
      LRESULT r = TCustomControl::WndProc(msg, wp, lp);
      UpdateScrollBars();
      return r;
    }
  }
  return TCustomControl::WndProc(msg, wp, lp);
}
