// An owner-drawn grid: fixed header rows, columns of given widths, rows of
// one height, grid lines, one selected cell, and OnDrawCell for the content.
// Rows scroll vertically when they do not fit.
#pragma once

#include "Forms.h"

using TGridDrawState = unsigned;
inline constexpr TGridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

class TDrawGrid : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b, int colCount, int rowCount, int fixedRows = 1);

  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  int RowCount() const { return rowCount_; }
  // The selection stays on a row that exists (and never on a fixed row).
  void SetRowCount(int n);
  int FixedRows() const { return fixedRows_; }
  int ColWidths(int col) const { return colWidths_.at(static_cast<size_t>(col)); }
  void SetColWidth(int col, int width);
  int DefaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int h);
  int GridLineWidth() const { return lineWidth_; }
  void SetGridLineWidth(int w);

  // The selected cell.
  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCell(int col, int row);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);

  // The cell's rectangle in the client, empty when it is scrolled out.
  RECT CellRect(int col, int row) const;
  // False outside every cell.
  bool MouseToCell(int x, int y, int& col, int& row) const;
  void InvalidateCell(int col, int row);

  // Draws a cell; the background is already filled (highlighted when
  // selected) and the DC has the grid's font and the text colour to use.
  std::function<void(HDC dc, int col, int row, const RECT& rect, TGridDrawState state)> OnDrawCell;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  UINT DialogCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; }
  void DoKeyDown(WORD key, TShiftState shift) override;

 private:
  int VisibleRows() const;
  int RowTop(int row) const;  // client y of a row, or INT_MIN when scrolled out
  void UpdateScrollBar();
  void MakeVisible(int row);

  std::vector<int> colWidths_;
  int rowCount_ = 0, fixedRows_ = 1, rowHeight_ = 24, lineWidth_ = 1;
  int col_ = 0, row_ = 1, topRow_ = 1;
};
