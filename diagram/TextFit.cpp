#include "TextFit.h"

#include <cmath>
#include <cstring>

namespace {
// The context whose texts are measured through a TTextMeasure, if any.
HDC MeasuredTarget = nullptr;
TTextMeasure* ActiveMeasure = nullptr;

// Enough for the sizes of one composition; beyond it the cache starts again.
constexpr size_t MaxCachedFonts = 512;

SIZE MeasureOn(HDC dc, const std::string& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// One round of the loop: true when both the width and the height fit.
bool Step(SIZE extent, uint16_t w, uint16_t h, TFontCell& cell) {
  bool widthFits = true, heightFits = true;
  if (extent.cx > w && cell.Width != 0) {
    --cell.Width;
    widthFits = false;
  }
  if (extent.cy > h && cell.Height != 0) {
    --cell.Height;
    heightFits = false;
  }
  return widthFits && heightFits;
}
}  // namespace

LOGFONTA LabelFontTemplate() {
  LOGFONTA lf;
  std::memset(&lf, 0, sizeof lf);
  lf.lfHeight = 52;
  lf.lfWidth = 20;
  lf.lfEscapement = 0;
  lf.lfOrientation = 0;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = FALSE;
  lf.lfUnderline = FALSE;
  lf.lfStrikeOut = FALSE;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = PROOF_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
  std::strcpy(lf.lfFaceName, "Times New Roman");
  return lf;
}

TOwnedGdiObject CreateLabelFont(int cellWidth, int cellHeight) {
  LOGFONTA lf = LabelFontTemplate();
  lf.lfWidth = cellWidth;
  lf.lfHeight = cellHeight;
  return TOwnedGdiObject(CreateFontIndirectA(&lf));
}

uint16_t FitRoom(int extent, double ratio) {
  double room = std::trunc(ratio * extent);
  if (room <= 0) return 0;
  if (room >= 65535) return 65535;
  return static_cast<uint16_t>(room);
}

TFontCell StartCell(const std::string& text, uint16_t w, uint16_t h) {
  TFontCell cell;
  cell.Width = text.empty() ? w : static_cast<uint16_t>(w / text.size());
  cell.Height = h;
  if (cell.Height >= 2 * static_cast<int>(cell.Width))
    cell.Height = static_cast<uint16_t>(2 * cell.Width);
  else
    cell.Width = static_cast<uint16_t>(cell.Height / 2);
  return cell;
}

TFontCell FitCellOnContext(HDC dc, const std::string& text, uint16_t w, uint16_t h, TSelectedObject& font) {
  TFontCell cell = StartCell(text, w, h);
  font.Replace(CreateLabelFont(cell.Width, cell.Height));
  for (;;) {
    bool fits = Step(MeasureOn(dc, text), w, h, cell);
    font.Replace(CreateLabelFont(cell.Width, cell.Height));
    if (fits) return cell;
  }
}

TTextMeasure::TTextMeasure(HDC referenceDevice) : DC(referenceDevice) {
  OriginalFont = GetCurrentObject(DC, OBJ_FONT);
}

TTextMeasure::~TTextMeasure() {
  if (DC.Get() && OriginalFont) SelectObject(DC, OriginalFont);
  Fonts.clear();
}

HFONT TTextMeasure::Font(TFontCell cell) {
  auto key = std::make_pair(cell.Width, cell.Height);
  auto found = Fonts.find(key);
  if (found != Fonts.end()) return static_cast<HFONT>(found->second.Get());
  if (Fonts.size() >= MaxCachedFonts) {
    SelectObject(DC, OriginalFont);
    Fonts.clear();
  }
  TOwnedGdiObject font = CreateLabelFont(cell.Width, cell.Height);
  const HFONT handle = static_cast<HFONT>(font.Get());
  Fonts.emplace(key, std::move(font));
  return handle;
}

SIZE TTextMeasure::Extent(const std::string& text, TFontCell cell) {
  SelectObject(DC, Font(cell));
  return MeasureOn(DC, text);
}

TFontCell TTextMeasure::Fit(const std::string& text, uint16_t w, uint16_t h) {
  TFontCell cell = StartCell(text, w, h);
  while (!Step(Extent(text, cell), w, h, cell)) {
  }
  return cell;
}

TTextMeasureScope::TTextMeasureScope(HDC target, TTextMeasure& measure)
    : PreviousTarget(MeasuredTarget), PreviousMeasure(ActiveMeasure) {
  MeasuredTarget = target;
  ActiveMeasure = &measure;
}

TTextMeasureScope::~TTextMeasureScope() {
  MeasuredTarget = PreviousTarget;
  ActiveMeasure = PreviousMeasure;
}

TFontCell DrawTextInRect(HDC dc, RECT r, const std::string& text, uint16_t flags) {
  InflateRect(&r, -2, -2);
  const bool wrap = (flags & TextWordWrap) != 0;
  const double ratio = wrap ? 1.0 : TextFitRatio;
  const uint16_t w = FitRoom(r.right - r.left, ratio);
  const uint16_t h = FitRoom(r.bottom - r.top, ratio);

  TSelectedObject font(dc, nullptr);
  TFontCell cell;
  if (ActiveMeasure && MeasuredTarget == dc) {
    cell = ActiveMeasure->Fit(text, w, h);
    if (cell.Height != 0) font.Replace(CreateLabelFont(cell.Width, cell.Height));
  } else {
    cell = FitCellOnContext(dc, text, w, h, font);
  }
  // A zero cell height would ask for the default font size: a text far
  // larger than its rectangle. Such a rectangle has no room for text.
  if (cell.Height == 0) return cell;

  if (wrap) {
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_EXTERNALLEADING);
    return cell;
  }
  UINT align = 0;
  int x = 0, y = 0;
  switch (flags & 0xFF) {
    case TextLeft: align = TA_LEFT; x = r.left; break;
    case TextCentre: align = TA_CENTER; x = (r.left + r.right) / 2; break;
    case TextRight: align = TA_RIGHT; x = r.right; break;
    default: align = TA_LEFT; x = 0; break;
  }
  switch (flags & 0x7F00) {
    case TextTop: align |= TA_TOP; y = r.top; break;
    case TextMiddle: align |= TA_TOP; y = (r.top + r.bottom - cell.Height) / 2; break;
    case TextBottom: align |= TA_BOTTOM; y = r.bottom; break;
    default: align |= TA_TOP; y = 0; break;
  }
  SetTextAlign(dc, align);
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  return cell;
}

TFontCell DrawBoxedText(HDC dc, RECT r, const std::string& text, uint16_t flags) {
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  InflateRect(&r, -2, -2);
  return DrawTextInRect(dc, r, text, flags);
}
