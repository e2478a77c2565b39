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
  // Imports the search path and scope names of an option file; the label
  // under it names the project's own option file when it has one.
  TButton bImporter;
  TLabel lOptionFile;
  TOpenDialog ImportDialog;
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
  // The file's directories become locations just before ".", the first
  // listed searched first, each once; its scope names are appended. What
  // could not be imported is told in one box.
  void ImportOptionFile(const std::string& fileName);
  // The option file beside the project of the main window (X.dproj, X.dof,
  // X.cfg, X.lpi for X.dpr), or empty.
  static std::string OfferedOptionFile();

  // Handlers.
  void DrawGridDrawCell(HDC dc, int col, int row, const RECT& rect, TGridDrawState state);
  void DrawGridKeyDown(WORD& key, TShiftState shift);
  void DrawGridDblClick(TMouseButton button, TShiftState shift, int x, int y);
  void HautClick();
  void BasClick();
  void BitBtn2Click();
  void bImporterClick();

 private:
  void CreateComponents();
  // A location's new directory, listed at once.
  void ChangePath(int index, const std::string& directory);
};

extern TfLocalisations* fLocalisations;
