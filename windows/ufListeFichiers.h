// The files-list window: the locations with their source files, used and
// unused by the analysed project, under two roots.
#pragma once

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

// The images of the tree, by their index in ImageList.
enum TFileImage { fiUsedFile = 0, fiUnusedFile = 1, fiLocation = 2 };

class TfListeFichiers : public TForm {
 public:
  TfListeFichiers();
  ~TfListeFichiers() override;

  // Fills the tree, collapsed, and shows the window modally; the note says
  // why it came when it is offered after an analysis.
  int ShowFilesList(bool showNote);
  // The tree as the locations hold it now.
  void FillTree();
  void FormShow();

  // Components, in the order of the form.
  TImageList ImageList{16, 16};
  TPanel Panel1;  // the legend
  TLabel Label1;
  TImage Image1, Image2, Image3;
  TLabel Label2, Label3, Label4;
  TPanel Panel2;  // the note and OK
  TMemo Memo;
  TButton BitBtn1;
  TTreeView TreeView;

 private:
  void CreateComponents();
};

extern TfListeFichiers* fListeFichiers;
