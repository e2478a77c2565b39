// The locations editor: the ordered search directories in a grid (path,
// colour, active, basic), edited in place.
#pragma once

#include <string>

#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Grids.h"
#include "StdCtrls.h"

// The grid's columns.
enum TLocationColumn { lcPath = 0, lcColour = 1, lcActive = 2, lcBasic = 3, LocationColumns = 4 };

class TfLocalisations : public TForm {
 public:
  TfLocalisations();
  ~TfLocalisations() override;

  // Components, in the order of the form.
  TPanel Panel1;
  TButton bInserer, bSupprimer, bEditer, Haut, Bas, BitBtn2, Button1;
  TDrawGrid DrawGrid;
  TColorDialog ColorDialog;

  // The location of the selected row (row 1 is location 0).
  int SelectedIndex() const { return DrawGrid.Row() - 1; }

  // Column widths (the path takes what the others leave) and one row per
  // location; repaints the grid.
  void Refresh();
  void InsertLocation();
  void DeleteSelected();
  void EditCell();

  // Handlers.
  void DrawGridDrawCell(HDC dc, int col, int row, const RECT& rect, TGridDrawState state);
  void DrawGridKeyDown(WORD& key, TShiftState shift);
  void DrawGridDblClick(TMouseButton button, TShiftState shift, int x, int y);
  void HautClick();
  void BasClick();
  void BitBtn2Click();

 private:
  void CreateComponents();
  // A location's new directory, listed at once.
  void ChangePath(int index, const std::string& directory);
};

extern TfLocalisations* fLocalisations;
