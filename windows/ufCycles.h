// The cycles window: the units that use each other in a circle, as a tree
// (the compiler's circular unit references first, then every component,
// each with its units). Choosing a unit flashes its label in the diagram.
#pragma once

#include <map>
#include <string>

#include "ComCtrls.h"
#include "Cycles.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TFile;

class TfCycles : public TForm {
 public:
  TfCycles();
  ~TfCycles() override;

  // Fills the tree from the report and shows the window modally, beside
  // the main window when the screen has room.
  int ShowCycles(const TCycleReport& report);
  void FillTree(const TCycleReport& report);
  // The unit a node stands for, or nullptr (a root or a component).
  TFile* UnitOf(TTreeNode node) const;

  // Components, in the order of the form.
  TPanel Panel1;  // the summary and OK
  TLabel Summary;
  TButton BitBtn1;
  TTreeView TreeView;
  TTimer FlashTimer{*this, 120, false};

  // Handlers.
  void TreeViewChange();
  void FlashTimerTimer();

 private:
  void CreateComponents();
  std::map<TTreeNode, TFile*> Units_;
  TFile* flashing_ = nullptr;
  int flashStep_ = 0;
};

extern TfCycles* fCycles;
// The cycles window, made on first use; FreeToolWindows frees it with the others.
TfCycles& CyclesWindow();

// The window's summary, and the shorter note of the status bar.
std::string CyclesSummary(const TCycleReport& report);
std::string CyclesNote(const TCycleReport& report);
std::string ComponentText(const TCycleComponent& component);

// The label's rectangle in the coordinates of an image showing the diagram
// at imageWidth x imageHeight (the diagram is diagramWidth x diagramHeight).
RECT LabelInImage(const TFile& unit, int diagramWidth, int diagramHeight, int imageWidth, int imageHeight);
