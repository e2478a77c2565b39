#include "Grids.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>

void TDrawGrid::Create(TControl& parent, const TBounds& b, int colCount, int rowCount, int fixedRows) {
  colWidths_.assign(static_cast<size_t>(std::max(colCount, 1)), 64);
  fixedRows_ = std::max(fixedRows, 0);
  rowCount_ = std::max(rowCount, fixedRows_);
  col_ = 0;
  row_ = topRow_ = fixedRows_;
  extraStyle_ = WS_VSCROLL | WS_TABSTOP;
  extraExStyle_ = WS_EX_CLIENTEDGE;
  TCustomControl::Create(parent, b);
  SetColor(clWindow);
  UpdateScrollBar();
}

void TDrawGrid::SetRowCount(int n) {
  rowCount_ = std::max(n, fixedRows_);
  if (row_ >= rowCount_) row_ = std::max(rowCount_ - 1, fixedRows_);
  SetTopRow(topRow_);
  UpdateScrollBar();
  Invalidate();
}

void TDrawGrid::SetColWidth(int col, int width) {
  colWidths_.at(static_cast<size_t>(col)) = std::max(width, 0);
  Invalidate();
}

void TDrawGrid::SetDefaultRowHeight(int h) {
  rowHeight_ = std::max(h, 1);
  UpdateScrollBar();
  Invalidate();
}

void TDrawGrid::SetGridLineWidth(int w) {
  lineWidth_ = std::max(w, 0);
  UpdateScrollBar();
  Invalidate();
}

int TDrawGrid::VisibleRows() const {
  const int free = ClientHeight() - fixedRows_ * (rowHeight_ + lineWidth_);
  return std::max(free / (rowHeight_ + lineWidth_), 1);
}

int TDrawGrid::RowTop(int row) const {
  const int pitch = rowHeight_ + lineWidth_;
  if (row < fixedRows_) return row * pitch;
  if (row < topRow_) return INT_MIN;
  return (fixedRows_ + row - topRow_) * pitch;
}

RECT TDrawGrid::CellRect(int col, int row) const {
  if (col < 0 || col >= ColCount() || row < 0 || row >= rowCount_) return {};
  const int top = RowTop(row);
  if (top == INT_MIN || top >= ClientHeight()) return {};
  int left = 0;
  for (int c = 0; c < col; ++c) left += colWidths_[static_cast<size_t>(c)] + lineWidth_;
  return {left, top, left + colWidths_[static_cast<size_t>(col)], top + rowHeight_};
}

bool TDrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
  if (x < 0 || y < 0) return false;
  const int pitch = rowHeight_ + lineWidth_, fixedHeight = fixedRows_ * pitch;
  row = y < fixedHeight ? y / pitch : topRow_ + (y - fixedHeight) / pitch;
  if (row >= rowCount_) return false;
  int left = 0;
  for (col = 0; col < ColCount(); ++col) {
    left += colWidths_[static_cast<size_t>(col)] + lineWidth_;
    if (x < left) return true;
  }
  return false;
}

void TDrawGrid::InvalidateCell(int col, int row) {
  RECT r = CellRect(col, row);
  if (Handle() && !IsRectEmpty(&r)) InvalidateRect(Handle(), &r, FALSE);
}

void TDrawGrid::SetCell(int col, int row) {
  if (rowCount_ <= fixedRows_) return;
  col = std::clamp(col, 0, ColCount() - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (col == col_ && row == row_) return;
  InvalidateCell(col_, row_);
  col_ = col;
  row_ = row;
  MakeVisible(row_);
  InvalidateCell(col_, row_);
}

void TDrawGrid::SetTopRow(int row) {
  const int top = std::clamp(row, fixedRows_, std::max(fixedRows_, rowCount_ - VisibleRows()));
  if (top == topRow_) return;
  topRow_ = top;
  UpdateScrollBar();
  Invalidate();
}

void TDrawGrid::MakeVisible(int row) {
  if (row < topRow_)
    SetTopRow(row);
  else if (row >= topRow_ + VisibleRows())
    SetTopRow(row - VisibleRows() + 1);
}

void TDrawGrid::UpdateScrollBar() {
  if (!Handle()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (rowCount_ - fixedRows_ > VisibleRows()) {
    si.nMin = fixedRows_;
    si.nMax = rowCount_ - 1;
    si.nPage = static_cast<UINT>(VisibleRows());
    si.nPos = topRow_;
  }
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void TDrawGrid::Paint(HDC dc, const RECT& client) {
  FillBackground(dc, client);
  TSelectedObject font(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  const int pitch = rowHeight_ + lineWidth_;
  int width = 0;
  for (int w : colWidths_) width += w + lineWidth_;
  std::vector<int> rows;
  for (int r = 0; r < fixedRows_ && r < rowCount_; ++r) rows.push_back(r);
  for (int r = topRow_; r < rowCount_ && RowTop(r) < client.bottom; ++r) rows.push_back(r);
  // The lines are what shows between the cells.
  RECT lines{0, 0, width, static_cast<int>(rows.size()) * pitch};
  TOwnedGdiObject lineBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  FillRect(dc, &lines, static_cast<HBRUSH>(lineBrush.Get()));
  const bool focused = Focused();
  for (int r : rows) {
    for (int c = 0; c < ColCount(); ++c) {
      RECT cell = CellRect(c, r);
      if (IsRectEmpty(&cell)) continue;
      TGridDrawState state = 0;
      if (r < fixedRows_) state |= gdFixed;
      if (c == col_ && r == row_) state |= gdSelected | (focused ? gdFocused : 0);
      COLORREF back = (state & gdFixed)      ? GetSysColor(COLOR_BTNFACE)
                      : (state & gdSelected) ? GetSysColor(COLOR_HIGHLIGHT)
                                             : ColorToRGB(Color());
      SetBkColor(dc, back);
      ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
      SetTextColor(dc, (state & gdSelected) && !(state & gdFixed) ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                                  : ColorToRGB(Font().Color));
      if (OnDrawCell) OnDrawCell(dc, c, r, cell, state);
      if (state & gdFixed) DrawEdge(dc, &cell, BDR_RAISEDINNER, BF_RECT);
      if (state & gdFocused) DrawFocusRect(dc, &cell);
    }
  }
}

void TDrawGrid::DoKeyDown(WORD key, TShiftState) {
  switch (key) {
    case VK_UP:
      SetCell(col_, row_ - 1);
      break;
    case VK_DOWN:
      SetCell(col_, row_ + 1);
      break;
    case VK_LEFT:
      SetCell(col_ - 1, row_);
      break;
    case VK_RIGHT:
      SetCell(col_ + 1, row_);
      break;
    case VK_PRIOR:
      SetCell(col_, row_ - VisibleRows());
      break;
    case VK_NEXT:
      SetCell(col_, row_ + VisibleRows());
      break;
    case VK_HOME:
      SetCell(col_, fixedRows_);
      break;
    case VK_END:
      SetCell(col_, rowCount_ - 1);
      break;
  }
}

LRESULT TDrawGrid::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!Focused()) SetFocus();
      int c = 0, r = 0;
      if (MouseToCell(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), c, r) && r >= fixedRows_) SetCell(c, r);
      break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateCell(col_, row_);
      break;
    case WM_VSCROLL: {
      int top = topRow_;
      switch (LOWORD(wp)) {
        case SB_LINEUP:
          --top;
          break;
        case SB_LINEDOWN:
          ++top;
          break;
        case SB_PAGEUP:
          top -= VisibleRows();
          break;
        case SB_PAGEDOWN:
          top += VisibleRows();
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          top = ScrollTrackPosition(Handle(), SB_VERT);
          break;
      }
      SetTopRow(top);
      return 0;
    }
    case WM_MOUSEWHEEL:
      SetTopRow(topRow_ - GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA * 3);
      return 0;
    case WM_SIZE: {
      LRESULT r = TCustomControl::WndProc(msg, wp, lp);
      UpdateScrollBar();
      SetTopRow(topRow_);
      return r;
    }
  }
  return TCustomControl::WndProc(msg, wp, lp);
}
