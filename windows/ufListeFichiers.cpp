#include "ufListeFichiers.h"

#include "Globales.h"
#include "LaterWindows.h"
#include "Pictures.h"

TfListeFichiers* fListeFichiers = nullptr;

namespace {
constexpr const char* UnusedRoot = "Unused locations";
constexpr const char* UsedRoot = "Locations containing unused files";
constexpr const char* NoteLine1 =
    "This form is automatically displayed when there are unused files in used locations.";
constexpr const char* NoteLine2 = "To disable this behavior, click on \"Display files list\" in Options menu";
constexpr TColor ImageMask = 0xFF00FF;  // magenta, in the strip of images
constexpr int TreeIndent = 19;
}  // namespace

TfListeFichiers::TfListeFichiers()
    : TForm(TFormParams{.Caption = "Files list", .Width = 550, .Height = 336}) {
  fListeFichiers = this;
  CreateComponents();
  OnShow = [this] { FormShow(); };
  FinishCreate();
}

TfListeFichiers::~TfListeFichiers() {
  OnShow = nullptr;
  DestroyHandle();
  if (fListeFichiers == this) fListeFichiers = nullptr;
}

void TfListeFichiers::CreateComponents() {
  if (HBITMAP strip = LoadPicture(IDB_TREE_IMAGES)) {
    TOwnedGdiObject owned(strip);  // the list keeps copies
    ImageList.Add(strip, ImageMask);
  }

  const int width = ClientWidth();
  Panel1.Create(*this, {0, 0, width, 26});
  Panel1.SetAlign(alTop);
  Panel1.SetBevelOuter(bvNone);
  Label1.Create(Panel1, 8, 6, "Legend: ");
  // Each image with its caption, side by side.
  int left = Label1.Left() + Label1.Width() + 8;
  struct TLegend {
    TImage& image;
    TLabel& label;
    TFileImage index;
    const char* caption;
  };
  for (const TLegend& item : {TLegend{Image1, Label2, fiLocation, "Location"},
                              TLegend{Image2, Label3, fiUsedFile, "Used file"},
                              TLegend{Image3, Label4, fiUnusedFile, "Unused file"}}) {
    item.image.Create(Panel1, {left, 5, ImageList.Width(), ImageList.Height()});
    if (ImageList.Count() > item.index) item.image.SetBitmap(ImageList.CreateBitmap(item.index, clBtnFace));
    item.label.Create(Panel1, left + ImageList.Width() + 4, 6, item.caption);
    left = item.label.Left() + item.label.Width() + 24;
  }

  Panel2.Create(*this, {0, ClientHeight() - 41, width, 41});
  Panel2.SetAlign(alBottom);
  Panel2.SetBevelOuter(bvNone);
  Memo.Create(Panel2, {8, 6, width - 104, 30}, ssNone, false);
  Memo.SetReadOnly(true);
  Memo.SetColor(clBtnFace);
  Memo.SetLines({NoteLine1, NoteLine2});
  BitBtn1.Default = true;
  BitBtn1.Cancel = true;
  BitBtn1.ModalResult = mrOk;
  BitBtn1.Create(Panel2, {width - 83, 8, 75, 25}, "OK");

  TreeView.Create(*this, {0, 26, width, ClientHeight() - 67});
  TreeView.SetAlign(alClient);
  TreeView.SetImages(&ImageList);
  TreeView.SetIndent(TreeIndent);
}

void TfListeFichiers::FillTree() {
  TreeView.Clear();
  // The marks of the last analysis decide which locations count as unused.
  CountUnusedFiles();
  const TTreeNode unused = TreeView.AddChild(nullptr, UnusedRoot, fiLocation);
  const TTreeNode used = TreeView.AddChild(nullptr, UsedRoot, fiLocation);
  for (int i = 0; i < LocationCount; ++i) {
    const TLocation* location = Locations[i].get();
    if (!location) continue;
    const TTreeNode node = TreeView.AddChild(location->Unused ? unused : used, location->Path, fiLocation);
    for (int f = 0; f < location->Files.Count(); ++f)
      TreeView.AddChild(node, ExtractFileName(location->Files.Strings[f]),
                        location->Files.Objects[f] ? fiUsedFile : fiUnusedFile);
  }
}

// The keys walk the tree at once.
void TfListeFichiers::FormShow() { TreeView.SetFocus(); }

int TfListeFichiers::ShowFilesList(bool showNote) {
  Memo.SetVisible(showNote);
  FillTree();
  TreeView.FullCollapse();
  return ShowModal();
}

void ShowFilesList(bool withNote) {
  if (fListeFichiers) fListeFichiers->ShowFilesList(withNote);
}

void OfferFilesList() { ShowFilesList(true); }
