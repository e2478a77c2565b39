#include "FileCtrl.h"

#include <algorithm>
#include <cctype>

#include "FindFile.h"

void TDirectoryListBox::Create(TControl& parent, const TBounds& b) {
  CreateNative(parent, "LISTBOX",
               WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
               WS_EX_CLIENTEDGE, b, {});
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, 16);
  SetColor(clWindow);
  char cwd[MAX_PATH] = {};
  if (GetCurrentDirectoryA(MAX_PATH, cwd)) {
    try {
      SetDirectory(cwd);
    } catch (const std::exception&) {
      // An unreadable current directory leaves the list empty.
    }
  }
}

void TDirectoryListBox::SetDirectory(const std::string& dir) {
  if (dir.empty()) return;
  const std::string cannot = "Cannot open the directory \"" + dir + "\"";
  char full[MAX_PATH * 2] = {};
  DWORD n = GetFullPathNameA(dir.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) throw std::runtime_error(cannot);
  std::string path = full;
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (path.size() == 2 && path[1] == ':') path += '\\';
  // Only drive paths: the list's first line is a drive's root.
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\' || !std::isalpha(static_cast<unsigned char>(path[0])))
    throw std::runtime_error(cannot);
  path[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  if (lstrcmpiA(path.c_str(), directory_.c_str()) == 0) return;
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) throw std::runtime_error(cannot);

  const std::string base = path.back() == '\\' ? path : path + '\\';
  std::vector<std::string> subdirs;
  WIN32_FIND_DATAA fd;
  TFindFile search;
  if (!search.FindFirst(base + "*", fd)) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) throw std::runtime_error(cannot);
  } else {
    do {
      const std::string name = fd.cFileName;
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
          !(fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        subdirs.push_back(name);
    } while (search.FindNext(fd));
  }
  std::sort(subdirs.begin(), subdirs.end(),
            [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });

  std::vector<TLine> lines;
  lines.push_back({path.substr(0, 3), path.substr(0, 3), 0, true});
  std::string walked = path.substr(0, 3);
  size_t start = 3;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    std::string part = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    walked += (walked.back() == '\\' ? "" : "\\") + part;
    lines.push_back({part, walked, static_cast<int>(lines.size()), true});
    if (end == std::string::npos) break;
    start = end + 1;
  }
  const int opened = static_cast<int>(lines.size()) - 1;
  for (const std::string& s : subdirs) lines.push_back({s, base + s, opened + 1, false});

  lines_ = std::move(lines);
  directory_ = path;
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
  for (const TLine& l : lines_) SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(l.name.c_str()));
  SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(opened), 0);
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  Invalidate();
  if (OnChange) OnChange();
}

int TDirectoryListBox::Count() const { return static_cast<int>(lines_.size()); }
int TDirectoryListBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)); }
void TDirectoryListBox::SetItemIndex(int i) { SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(i), 0); }

std::string TDirectoryListBox::GetItemPath(int index) const {
  if (index < 0 || index >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return lines_[static_cast<size_t>(index)].path;
}

void TDirectoryListBox::OpenCurrent() {
  const int i = ItemIndex();
  if (i >= 0 && i < Count()) SetDirectory(GetItemPath(i));
}

void TDirectoryListBox::Command(WORD code) {
  if (code == LBN_SELCHANGE) Click();
}

void TDirectoryListBox::DoKeyDown(WORD key, TShiftState) {
  if (key == VK_RETURN) OpenCurrent();
}

LRESULT TDirectoryListBox::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter opens a line instead of pressing the form's default button.
      LRESULT code = TControl::WndProc(msg, wp, lp);
      auto* m = reinterpret_cast<MSG*>(lp);
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_LBUTTONDBLCLK: {
      LRESULT r = TControl::WndProc(msg, wp, lp);
      if (Handle()) OpenCurrent();
      return r;
    }
  }
  return TControl::WndProc(msg, wp, lp);
}

bool TDirectoryListBox::DrawItem(DRAWITEMSTRUCT* item) {
  if (item->itemID == static_cast<UINT>(-1) || item->itemID >= lines_.size()) return true;
  const TLine& l = lines_[item->itemID];
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  const bool selected = item->itemState & ODS_SELECTED;
  SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(Color()));
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  // A folder: open for the path's levels, closed for the subdirectories.
  const int x = r.left + 2 + l.level * 8, y = r.top + (r.bottom - r.top - 10) / 2;
  TOwnedGdiObject body(CreateSolidBrush(l.open ? RGB(255, 255, 160) : RGB(224, 192, 64)));
  TOwnedGdiObject pen(CreatePen(PS_SOLID, 1, RGB(96, 64, 0)));
  {
    TSelectedObject gp(dc, pen.Get());
    TSelectedObject gb(dc, body.Get());
    Rectangle(dc, x, y + 2, x + 14, y + 11);
    Rectangle(dc, x, y, x + 6, y + 3);
  }
  TSelectedObject gf(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font().Color));
  RECT tr{x + 18, r.top, r.right, r.bottom};
  DrawTextA(dc, l.name.c_str(), static_cast<int>(l.name.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
  return true;
}
