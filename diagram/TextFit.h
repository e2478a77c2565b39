// Fitting a text into a rectangle: a Times New Roman font is shrunk one unit
// of cell width or height at a time until the text takes at most
// TextFitRatio of the rectangle's inner width and height.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "GdiGuard.h"

inline constexpr double TextFitRatio = 0.6;

// Placement flags: low byte horizontal, high byte vertical, 0x8000 word wrap.
inline constexpr uint16_t TextLeft = 0x01, TextCentre = 0x02, TextRight = 0x04;
inline constexpr uint16_t TextTop = 0x100, TextMiddle = 0x200, TextBottom = 0x400;
inline constexpr uint16_t TextWordWrap = 0x8000;
inline constexpr uint16_t TextCentred = TextCentre | TextMiddle;  // labels and the box

// The label font: its height and width are replaced before each use.
LOGFONTA LabelFontTemplate();
TOwnedGdiObject CreateLabelFont(int cellWidth, int cellHeight);

struct TFontCell {
  uint16_t Width = 0;
  uint16_t Height = 0;
  bool operator==(const TFontCell&) const = default;
};

// The room a text may take in a rectangle (already shrunk by 2): ratio times
// its width and height, in 16 bits. A rectangle turned inside out by the
// shrinking has no room at all.
uint16_t FitRoom(int extent, double ratio);
// Starting cell: width shared among the characters, at most twice as high as wide.
TFontCell StartCell(const std::string& text, uint16_t w, uint16_t h);

// The fitting loop on the drawing context itself, as plain as it reads:
// measure, step, create the font for the new cell, select it, delete the one
// it replaces; stop after a round in which both width and height fit. The
// last font stays selected in the context and is handed back.
TFontCell FitCellOnContext(HDC dc, const std::string& text, uint16_t w, uint16_t h, TSelectedObject& font);

// The same search on a memory context that measures exactly as the drawing
// context would (the reference device of a metafile, or a context of the
// same device), with the fonts of each cell size created once. The drawing
// context then receives only the font of the final cell.
class TTextMeasure {
 public:
  explicit TTextMeasure(HDC referenceDevice);
  ~TTextMeasure();
  TTextMeasure(const TTextMeasure&) = delete;
  TTextMeasure& operator=(const TTextMeasure&) = delete;

  SIZE Extent(const std::string& text, TFontCell cell);
  TFontCell Fit(const std::string& text, uint16_t w, uint16_t h);
  size_t CachedFonts() const { return Fonts.size(); }

 private:
  HFONT Font(TFontCell cell);
  TCreatedDC DC{CreateCompatibleDC(nullptr)};
  HGDIOBJ OriginalFont = nullptr;
  std::map<std::pair<uint16_t, uint16_t>, TOwnedGdiObject> Fonts;
};

// While one exists, DrawTextInRect on that context measures through the
// given TTextMeasure (the composition installs one for its metafile).
class TTextMeasureScope {
 public:
  TTextMeasureScope(HDC target, TTextMeasure& measure);
  ~TTextMeasureScope();
  TTextMeasureScope(const TTextMeasureScope&) = delete;
  TTextMeasureScope& operator=(const TTextMeasureScope&) = delete;

 private:
  HDC PreviousTarget;
  TTextMeasure* PreviousMeasure;
};

// Fits and draws a text; returns the final cell (zero height: the rectangle
// had no room and nothing was drawn).
TFontCell DrawTextInRect(HDC dc, RECT r, const std::string& text, uint16_t flags);
// Rectangle with the context's pen and brush, then the text inside it.
TFontCell DrawBoxedText(HDC dc, RECT r, const std::string& text, uint16_t flags);
