// Drawing the laid-out unit array: the basic-units box, the labels, the
// links and the caption, onto a metafile's canvas.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "GdiGuard.h"
#include "Units.h"

// What a hidden unit (and the hidden basic-units box) loses in the drawing.
struct TSimplification {
  bool Amont = true;     // no link towards it
  bool Aval = true;      // no link, bar or baseline of its own
  bool Vignette = true;  // no label
  bool Doc = true;       // no section in the document
  bool operator==(const TSimplification&) const = default;
};
using TSimplificationSource = TSimplification (*)();
// The options as the drawing reads them: from the installed source (the
// simplification window), else from the settings store, section "Aeration".
TSimplification SimplificationOptions();
TSimplificationSource SetSimplificationSource(TSimplificationSource source);

// Receives the units of a document while the diagram is drawn (the Word
// driver implements it).
class TDocumentGenerator {
 public:
  virtual ~TDocumentGenerator() = default;
  virtual bool Start() = 0;
  virtual void NewDocument() = 0;
  virtual void AddUnit(const std::string& name, const std::string& picture, const std::string& source) = 0;
  // Inserts the diagram (now on the clipboard), the contents, and saves.
  virtual void Finish() = 0;
};
// The process's document generator, if one is installed.
extern TDocumentGenerator* DocumentGenerator;
// True while a document is being generated.
extern bool GeneratingDocument;

// The picture a unit's section may show: ImagesDirectory\Name.BMP, full path.
std::string PicturePath(const std::string& unitName);

// A pen and a brush in the colour of a unit's location index.
TOwnedGdiObject LocationPen(int location);
TOwnedGdiObject LocationBrush(int location);

// The drawing surface: a context with the pen, brush and font that the
// composition sets. Starts with a black hairline pen, a black brush and the
// window-text colour for text.
class TCanvas {
 public:
  explicit TCanvas(HDC dc);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return DC; }
  void SetBrushColour(COLORREF colour);
  // No fill, and text without background.
  void SetBrushClear();
  void SetFont(const LOGFONTA& font);
  void SetFontColour(COLORREF colour);

 private:
  HDC DC;
  TSelectedObject Pen;
  TSelectedObject Brush;
  TSelectedObject Font;
};

// The caption's font: Times New Roman, 42 points on the context's device.
LOGFONTA CaptionFont(HDC dc);

// Box, labels (found units bottom row upwards, then units not found), links,
// caption. The array may be nil or empty: only the caption is drawn.
void DrawDiagram(TFileArray* array, TCanvas& canvas, const RECT& r);
void DrawBasicBox(TFileArray& array, TCanvas& canvas, const RECT& r, const TSimplification& options);
// Records the label's geometry in the unit and draws it.
void DrawLabel(TFile& unit, HDC dc, RECT r, uint16_t pitch, const TSimplification& options);
void DrawLinks(TFile& unit, HDC dc, const TSimplification& options);
