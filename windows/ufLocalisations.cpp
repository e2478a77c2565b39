#include "ufLocalisations.h"

#include <memory>

#include "Globales.h"
#include "LaterWindows.h"
#include "Messages.h"
#include "OptionFileReader.h"
#include "Pictures.h"
#include "uChaines.h"
#include "ufUsagram.h"

TfLocalisations* fLocalisations = nullptr;

namespace {

constexpr int LocationsHelpContext = 5;
constexpr const char* NewLocationTitle = "New Location";
constexpr const char* LocationTitle = "Location n° ";
constexpr const char* Headers[LocationColumns] = {"Path", "Color", "Active", "Basic"};
constexpr const char* ImportTitle = "Import a search path";
constexpr const char* ImportFilter =
    "Option files (*.dproj;*.dof;*.cfg;*.lpi)|*.dproj;*.dof;*.cfg;*.lpi|All files (*.*)|*.*";
constexpr int FlagColumnWidth = 48, RowHeight = 20, ButtonsWidth = 96;

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

// Text in a cell: at left + 1 or centred, always centred vertically; the
// free space is halved rounding toward zero.
void CellText(HDC dc, const RECT& rect, const std::string& text, bool centred) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const int left = centred ? rect.left + (rect.right - rect.left - size.cx) / 2 : rect.left + 1;
  const int top = rect.top + (rect.bottom - rect.top - size.cy) / 2;
  ExtTextOutA(dc, left, top, ETO_CLIPPED, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

}  // namespace

TfLocalisations::TfLocalisations()
    : TForm(TFormParams{.Caption = "Locations", .Width = 560, .Height = 300, .HelpContext = LocationsHelpContext}) {
  fLocalisations = this;
  CreateComponents();
  OnShow = [this] {
    lOptionFile.SetText(ExtractFileName(OfferedOptionFile()));
    Refresh();
  };
  OnResize = [this] { Refresh(); };
  OnPaint = [this](HDC) { Refresh(); };
  FinishCreate();
}

TfLocalisations::~TfLocalisations() {
  OnShow = OnResize = nullptr;
  OnPaint = nullptr;
  DestroyHandle();
  if (fLocalisations == this) fLocalisations = nullptr;
}

void TfLocalisations::CreateComponents() {
  Panel1.Create(*this, {ClientWidth() - ButtonsWidth, 0, ButtonsWidth, ClientHeight()});
  Panel1.SetAlign(alRight);
  Panel1.SetBevelOuter(bvNone);
  bInserer.Create(Panel1, {8, 8, 80, 25}, "Insert");
  bSupprimer.Create(Panel1, {8, 38, 80, 25}, "Delete");
  bEditer.Create(Panel1, {8, 68, 80, 25}, "Edit");
  Haut.Create(Panel1, {8, 102, 38, 25}, "");
  Haut.SetGlyph(LoadPicture(IDB_ARROW_UP, true));
  Bas.Create(Panel1, {50, 102, 38, 25}, "");
  Bas.SetGlyph(LoadPicture(IDB_ARROW_DOWN, true));
  bImporter.Create(Panel1, {8, 136, 80, 25}, "&Import...");
  lOptionFile.Create(Panel1, {8, 163, 80, 16}, "");
  lOptionFile.SetAutoSize(false);
  lOptionFile.SetShowAccelChar(false);
  lOptionFile.SetAlignment(taCenter);
  BitBtn2.Create(Panel1, {8, 184, 80, 25}, "&Help");
  Button1.ModalResult = mrOk;
  Button1.Create(Panel1, {8, 224, 80, 25}, "&Close");

  DrawGrid.Create(*this, {0, 0, ClientWidth() - ButtonsWidth, ClientHeight()}, LocationColumns, LocationCount + 1);
  DrawGrid.SetAlign(alClient);
  DrawGrid.SetDefaultRowHeight(RowHeight);
  DrawGrid.SetColWidth(lcColour, FlagColumnWidth);
  DrawGrid.SetColWidth(lcActive, FlagColumnWidth);

  bInserer.OnClick = [this] { InsertLocation(); };
  bSupprimer.OnClick = [this] { DeleteSelected(); };
  bEditer.OnClick = [this] { EditCell(); };
  Haut.OnClick = [this] { HautClick(); };
  Bas.OnClick = [this] { BasClick(); };
  BitBtn2.OnClick = [this] { BitBtn2Click(); };
  bImporter.OnClick = [this] { bImporterClick(); };
  DrawGrid.OnDrawCell = [this](HDC dc, int col, int row, const RECT& rect, TGridDrawState state) {
    DrawGridDrawCell(dc, col, row, rect, state);
  };
  DrawGrid.OnKeyDown = [this](WORD& key, TShiftState shift) { DrawGridKeyDown(key, shift); };
  DrawGrid.OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
    DrawGridDblClick(button, shift, x, y);
  };
}

void TfLocalisations::Refresh() {
  if (!DrawGrid.Handle()) return;
  DrawGrid.SetColWidth(lcBasic, DrawGrid.ColWidths(lcActive));
  const int others = DrawGrid.ColWidths(lcColour) + DrawGrid.ColWidths(lcActive) + DrawGrid.ColWidths(lcBasic);
  DrawGrid.SetColWidth(lcPath, DrawGrid.ClientWidth() - others - 5 * DrawGrid.GridLineWidth());
  DrawGrid.SetRowCount(LocationCount + 1);
  DrawGrid.Invalidate();
}

void TfLocalisations::DrawGridDrawCell(HDC dc, int col, int row, const RECT& rect, TGridDrawState) {
  if (row == 0) {
    CellText(dc, rect, Headers[col], true);
    return;
  }
  const int index = row - 1;
  if (!IsLocationIndex(index) || !Locations[index]) return;
  const TLocation& location = *Locations[index];
  switch (col) {
    case lcPath:
      CellText(dc, rect, location.Path, false);
      break;
    case lcColour: {
      RECT swatch = rect;
      const int inset = 2 * DrawGrid.GridLineWidth();
      InflateRect(&swatch, -inset, -inset);
      TOwnedGdiObject brush(CreateSolidBrush(location.Colour));
      FillRect(dc, &swatch, static_cast<HBRUSH>(brush.Get()));
      break;
    }
    case lcActive:
      CellText(dc, rect, YesNo(location.Active), true);
      break;
    case lcBasic:
      CellText(dc, rect, YesNo(location.Basic), true);
      break;
  }
}

// ---- Commands ----------------------------------------------------------------

void TfLocalisations::InsertLocation() {
  const int index = SelectedIndex();
  std::string directory = IsLocationIndex(index) && Locations[index] ? Locations[index]->Path : std::string();
  if (!ExecuteDirectoryWindow(NewLocationTitle, directory)) return;
  if (AddLocation(index, directory, false) >= 0) Refresh();
}

void TfLocalisations::DeleteSelected() {
  const int index = SelectedIndex();
  if (index < 0) return;
  DeleteLocation(index);
  Refresh();
}

void TfLocalisations::EditCell() {
  const int col = DrawGrid.Col(), row = DrawGrid.Row(), index = row - 1;
  if (row < 1 || !IsLocationIndex(index) || !Locations[index]) return;
  TLocation& location = *Locations[index];
  switch (col) {
    case lcBasic:
      location.Basic = !location.Basic;
      break;
    case lcActive:
      location.Active = !location.Active;
      break;
    case lcColour:
      ColorDialog.Color = location.Colour;
      if (!ColorDialog.Execute(Handle())) return;
      location.Colour = ColorToRGB(ColorDialog.Color);
      break;
    case lcPath: {
      std::string directory = location.Path;
      if (!ExecuteDirectoryWindow(LocationTitle + std::to_string(index), directory)) return;
      ChangePath(index, directory);
      break;
    }
  }
  DrawGrid.InvalidateCell(col, row);
}

void TfLocalisations::ChangePath(int index, const std::string& directory) {
  TLocation& location = *Locations[index];
  const std::string full = ExpandFileName(directory);
  if (UpperCaseAscii(full) == location.UpperPath) return;
  // Two rows for one directory would leave one of them never searched.
  if (FindLocation(full) >= 0) {
    Warning(Msg::LocationDuplicate);
    return;
  }
  if (IsPathTooLong(full)) {
    WarnPathTooLong(full + "\\");
    return;
  }
  // The lookups by directory and the files list follow the new directory
  // at once, not only after the locations are next loaded.
  location.MoveTo(full);
}

void TfLocalisations::DrawGridKeyDown(WORD& key, TShiftState) {
  switch (key) {
    case VK_INSERT:
      InsertLocation();
      break;
    case VK_DELETE:
      DeleteSelected();
      break;
    case VK_RETURN:
      EditCell();
      break;
    default:
      return;
  }
  key = 0;
}

void TfLocalisations::DrawGridDblClick(TMouseButton button, TShiftState shift, int x, int y) {
  // A double click on the header edits nothing.
  int col = 0, row = 0;
  if (button == mbLeft && (shift & ssDouble) && DrawGrid.MouseToCell(x, y, col, row) && row >= DrawGrid.FixedRows())
    EditCell();
}

// The grid's selection stays on its row: the location moves away from it.
void TfLocalisations::HautClick() {
  const int index = SelectedIndex();
  if (index <= 0) return;
  SwapLocations(index - 1, index);
  Refresh();
}

void TfLocalisations::BasClick() {
  const int index = SelectedIndex();
  // The current-directory entry stays last.
  if (!IsMovableLocation(index) || !IsMovableLocation(index + 1)) return;
  SwapLocations(index + 1, index);
  Refresh();
}

// ---- Import ------------------------------------------------------------------

std::string TfLocalisations::OfferedOptionFile() {
  return fUsagram ? ProjectOptionFile(fUsagram->OpenDialog.FileName) : std::string();
}

void TfLocalisations::bImporterClick() {
  const std::string offered = OfferedOptionFile();
  ImportDialog.Title = ImportTitle;
  ImportDialog.Filter = ImportFilter;
  ImportDialog.Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist | ofNoChangeDir;
  ImportDialog.FileName = offered;
  ImportDialog.InitialDir = offered.empty() && fUsagram ? ExtractFileDir(fUsagram->OpenDialog.FileName)
                                                        : ExtractFileDir(offered);
  if (ImportDialog.Execute(Handle())) ImportOptionFile(ImportDialog.FileName);
}

void TfLocalisations::ImportOptionFile(const std::string& fileName) {
  const TOptionFileSettings settings = ReadOptionFile(fileName);
  int added = 0;
  for (auto d = settings.Directories.rbegin(); d != settings.Directories.rend(); ++d) {
    if (FindLocation(*d) >= 0) continue;
    if (AddLocation(-1, *d, false) < 0) break;  // the list is full: said once
    ++added;
  }
  const int names = AddOptionFileScopeNames(settings.ScopeNames);
  Refresh();
  std::string text;
  for (const std::string& problem : settings.Problems) text += (text.empty() ? "" : "\r\n") + problem;
  if (text.empty() && added == 0 && names == 0)
    text = settings.Directories.empty() && settings.ScopeNames.empty()
               ? OptionFileProblem(fileName, "it lists no search path and no unit scope names")
               : OptionFileProblem(fileName, "its directories and scope names are all listed already");
  if (!text.empty()) Warning(text);
}

void TfLocalisations::BitBtn2Click() { Application.HelpContext(HelpContext); }

bool ExecuteLocationsEditor() { return fLocalisations && fLocalisations->ShowModal() == mrOk; }
