#include "Draw.h"

#include <cstring>

#include "Caption.h"
#include "Globales.h"
#include "Layout.h"
#include "Settings.h"
#include "TextFit.h"
#include "Yield.h"

TDocumentGenerator* DocumentGenerator = nullptr;
bool GeneratingDocument = false;

namespace {
TSimplificationSource Source = nullptr;

constexpr COLORREF Silver = RGB(192, 192, 192);
constexpr int CaptionPoints = 42;

TSimplification ReadStoredOptions() {
  TSimplification options;
  if (!Settings) return options;
  options.Amont = Reg::ReadAmont(*Settings);
  options.Aval = Reg::ReadAval(*Settings);
  options.Vignette = Reg::ReadVignette(*Settings);
  options.Doc = Reg::ReadDoc(*Settings);
  return options;
}

bool BoxHidden() { return UBase && UBase->Hidden; }
int BoxTop() { return UBase ? UBase->LabelRect.top : 0; }

// One pen and one brush in location colours, each created only when the
// colour changes and deleted as soon as another replaces it.
class TLocationTools {
 public:
  explicit TLocationTools(HDC dc) : Pen(dc, nullptr), Brush(dc, nullptr) {}
  void UsePen(int location) {
    COLORREF colour = LocationColour(location);
    if (HasPen && colour == PenColour) return;
    Pen.Replace(LocationPen(location));
    PenColour = colour;
    HasPen = true;
  }
  void UseBrush(int location) {
    COLORREF colour = LocationColour(location);
    if (HasBrush && colour == BrushColour) return;
    Brush.Replace(LocationBrush(location));
    BrushColour = colour;
    HasBrush = true;
  }
  void RestoreBrush() {
    Brush.Replace(nullptr);
    HasBrush = false;
  }

 private:
  TSelectedObject Pen;
  TSelectedObject Brush;
  COLORREF PenColour = 0, BrushColour = 0;
  bool HasPen = false, HasBrush = false;
};

void DrawList(const TFileArray* list, HDC dc, TLocationTools& tools, const TFile& user, const TLinkColumns& columns,
              bool implementation, const TSimplification& options) {
  if (!list) return;
  for (int k = 0; k < list->Count; ++k) {
    const TFile* used = list->Items[k];
    if (!used) continue;
    if (used->Hidden && options.Amont) continue;
    const int x = implementation ? columns.ImplementationColumn(k) : columns.InterfaceColumn(k);
    if (used->Location == LocationBasic) {
      if (BoxHidden() && options.Amont) continue;
      tools.UsePen(user.Location);
      MoveToEx(dc, x, columns.Bottom, nullptr);
      LineTo(dc, x, BoxTop());
      continue;
    }
    tools.UsePen(user.Location);
    MoveToEx(dc, x, columns.Bottom, nullptr);
    LineTo(dc, x, used->Anchor.y);
    tools.UsePen(used->Location);
    LineTo(dc, used->Anchor.x, used->Anchor.y);
    tools.UseBrush(used->Location);
    const int radius = DotRadius;
    Ellipse(dc, x - radius, used->Anchor.y - radius, x + radius, used->Anchor.y + radius);
  }
}
}  // namespace

TOwnedGdiObject LocationPen(int location) { return TOwnedGdiObject(CreatePen(PS_SOLID, 0, LocationColour(location))); }

TOwnedGdiObject LocationBrush(int location) { return TOwnedGdiObject(CreateSolidBrush(LocationColour(location))); }

TSimplification SimplificationOptions() { return Source ? Source() : ReadStoredOptions(); }

TSimplificationSource SetSimplificationSource(TSimplificationSource source) {
  TSimplificationSource previous = Source;
  Source = source;
  return previous;
}

std::string PicturePath(const std::string& unitName) {
  return ExpandFileName(ImagesDirectory + "\\" + unitName + ".BMP");
}

TCanvas::TCanvas(HDC dc)
    : DC(dc),
      Pen(dc, TOwnedGdiObject(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)))),
      Brush(dc, TOwnedGdiObject(CreateSolidBrush(RGB(0, 0, 0)))),
      Font(dc, nullptr) {
  SetTextColor(DC, GetSysColor(COLOR_WINDOWTEXT));
}

void TCanvas::SetBrushColour(COLORREF colour) {
  Brush.Replace(TOwnedGdiObject(CreateSolidBrush(colour)));
  SetBkColor(DC, colour);
  SetBkMode(DC, OPAQUE);
}

void TCanvas::SetBrushClear() {
  Brush.Replace(GetStockObject(NULL_BRUSH));
  SetBkMode(DC, TRANSPARENT);
}

void TCanvas::SetFont(const LOGFONTA& font) { Font.Replace(TOwnedGdiObject(CreateFontIndirectA(&font))); }

void TCanvas::SetFontColour(COLORREF colour) { SetTextColor(DC, colour); }

LOGFONTA CaptionFont(HDC dc) {
  LOGFONTA lf;
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = -MulDiv(CaptionPoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(lf.lfFaceName, "Times New Roman");
  return lf;
}

void DrawDiagram(TFileArray* array, TCanvas& canvas, const RECT& r) {
  HDC dc = canvas.Handle();
  if (array && array->Count > 0) {
    const TSimplification options = SimplificationOptions();
    const int pitch = array->LinkPitch;
    const int width = array->LabelWidth;
    const int height = array->RowHeight;
    const int count = array->Count;
    const int first = array->FirstFoundIndex;
    const int basic = array->BasicCount < 0 ? 0 : array->BasicCount;

    if (array->BasicCount > 0)
      DrawBasicBox(*array, canvas, r, options);
    else if (UBase)
      UBase->LabelRect = RECT{0, 0, 0, 0};

    RECT running{0, 0, width, height};
    OffsetRect(&running, 0, (count - first) * height);
    for (int i = first; i < count; ++i) {
      TFile* unit = array->Items[i];
      if (!unit) continue;
      OffsetRect(&running, SlotCount(*unit) * pitch, -height);
      DrawLabel(*unit, dc, running, static_cast<uint16_t>(pitch), options);
    }
    for (int i = first - 1; i >= basic; --i) {
      TFile* unit = array->Items[i];
      if (!unit) continue;
      RECT label{0, 0, width, height};
      OffsetRect(&label, 0, (count - 1 - i) * height);
      DrawLabel(*unit, dc, label, static_cast<uint16_t>(pitch), options);
    }
    for (int i = 0; i < count; ++i)
      if (array->Items[i]) DrawLinks(*array->Items[i], dc, options);
  }

  canvas.SetBrushClear();
  canvas.SetFontColour(Silver);
  canvas.SetFont(CaptionFont(dc));
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  RECT all{0, 0, r.right, r.bottom};
  const std::string caption = CaptionText();
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &all, DT_LEFT | DT_TOP);
  SetStatusUnit("");
}

void DrawBasicBox(TFileArray& array, TCanvas& canvas, const RECT& r, const TSimplification& options) {
  RECT box = BasicBoxRect(array, r);
  if (UBase) UBase->LabelRect = box;
  if (BoxHidden() && options.Vignette) return;
  if (IsRectEmpty(&box)) return;  // no room left below the rows
  canvas.SetBrushColour(RGB(255, 255, 255));
  DrawBoxedText(canvas.Handle(), box, UBase ? UBase->Name : std::string(), TextCentred);
}

void DrawLabel(TFile& unit, HDC dc, RECT r, uint16_t pitch, const TSimplification& options) {
  SetStatusUnit(unit.Name);
  if (GeneratingDocument && DocumentGenerator && unit.Location >= 0 && !(unit.Hidden && options.Doc))
    DocumentGenerator->AddUnit(unit.Name, PicturePath(unit.Name), unit.FileName);

  unit.LabelRect = r;
  unit.LinkPitch = pitch;
  if (unit.InterfaceUses) unit.InterfaceUses->LinkPitch = pitch;
  if (unit.ImplementationUses) unit.ImplementationUses->LinkPitch = pitch;
  unit.LabelRect = WidenLabel(unit.LabelRect, UsesCount(unit), pitch);
  unit.Anchor = POINT{unit.LabelRect.right, (unit.LabelRect.top + unit.LabelRect.bottom) / 2};

  if (unit.Hidden && options.Vignette) return;

  TBkModeGuard transparent(dc, TRANSPARENT);
  TSelectedObject brush(dc, GetStockObject(WHITE_BRUSH));
  TSelectedObject pen(dc, LocationPen(unit.Location));
  DrawBoxedText(dc, unit.LabelRect, unit.Name, TextCentred);
}

void DrawLinks(TFile& unit, HDC dc, const TSimplification& options) {
  if (unit.Hidden && options.Aval) return;
  const int uses = UsesCount(unit);
  if (uses == 0) return;
  const TLinkColumns columns = LinkColumns(unit);

  TLocationTools tools(dc);
  tools.UsePen(unit.Location);
  tools.UseBrush(unit.Location);
  const RECT bar = columns.InterfaceBar();
  Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
  tools.RestoreBrush();

  DrawList(unit.InterfaceUses.get(), dc, tools, unit, columns, false, options);
  tools.UsePen(unit.Location);
  const POINT from = columns.BaselineFrom(), to = columns.BaselineTo();
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
  DrawList(unit.ImplementationUses.get(), dc, tools, unit, columns, true, options);
}
