#include "CmdDiagram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Analysis.h"
#include "CmdAnalysis.h"
#include "CmdOutput.h"
#include "Compose.h"
#include "Cycles.h"
#include "Export.h"
#include "Globales.h"
#include "Layout.h"
#include "Png.h"
#include "Svg.h"
#include "Units.h"
#include "uChaines.h"

void UsePalette() {
  static const COLORREF palette[] = {RGB(0, 128, 0),   RGB(128, 0, 128), RGB(0, 128, 128),
                                     RGB(160, 96, 0),  RGB(96, 96, 160), RGB(128, 128, 0)};
  for (int i = 0; i + 1 < LocationCount; ++i)
    if (Locations[i]) Locations[i]->Colour = palette[i % (sizeof palette / sizeof palette[0])];
  if (LocationCount > 0 && Locations[LocationCount - 1]) Locations[LocationCount - 1]->Colour = RGB(0, 0, 192);
  NotFoundColour = RGB(208, 0, 0);
  BasicUnitsColour = RGB(128, 128, 128);
}

namespace {

std::string Number(long value) { return std::to_string(value); }

void WriteLabel(int index, const TFile& unit) {
  const RECT& r = unit.LabelRect;
  WriteLine({"label", Number(index), EscapeField(unit.Name), Number(r.left), Number(r.top), Number(r.right),
             Number(r.bottom), Number(unit.Anchor.x), Number(unit.Anchor.y), Number(unit.LinkPitch)});
}

void WriteLayout(const TMetafile& metafile) {
  const TFileArray& a = *FileArray;
  WriteLine({"layout", Number(a.LinkPitch), Number(a.LabelWidth), Number(a.RowHeight), Number(a.NotFoundCount),
             Number(a.BasicCount), Number(a.FirstFoundIndex), Number(a.RowCount), Number(DotRadius),
             Number(metafile.Width), Number(metafile.Height)});
  // Drawing order: found units from the bottom row upwards, then the units
  // that were not found.
  for (int i = a.FirstFoundIndex; i < a.Count; ++i)
    if (a.Items[i]) WriteLabel(i, *a.Items[i]);
  for (int i = a.FirstFoundIndex - 1; i >= a.BasicCount && i >= 0; --i)
    if (a.Items[i]) WriteLabel(i, *a.Items[i]);
  const RECT box = UBase ? UBase->LabelRect : RECT{0, 0, 0, 0};
  WriteLine({"box", Number(box.left), Number(box.top), Number(box.right), Number(box.bottom)});
}

void WritePng(const TMetafile& metafile, const std::string& fileName, int requestedWidth) {
  const int ownWidth = std::max(metafile.Width, 1), ownHeight = std::max(metafile.Height, 1);
  auto heightFor = [&](int width) {
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(ownHeight) * width / ownWidth)));
  };
  const int width = requestedWidth > 0 ? requestedWidth : ownWidth;
  const int height = requestedWidth > 0 ? heightFor(width) : ownHeight;
  if (static_cast<long long>(width) * height > MaxPngPixels) {
    int widest = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(MaxPngPixels) * ownWidth / ownHeight)), 1,
                            MaxPngWidth);
    while (widest > 1 && static_cast<long long>(widest) * heightFor(widest) > MaxPngPixels) --widest;
    throw ECmdFailure("a PNG of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is more than the " +
                      std::to_string(MaxPngPixels / 1'000'000) + " million pixels allowed; this diagram allows --width " +
                      std::to_string(widest) + " at most");
  }
  std::string error;
  if (!SaveMetafileAsPng(metafile.Handle(), width, height, fileName, error))
    throw ECmdFailure("cannot write the PNG \"" + fileName + "\": " + error);
}

void WriteOutput(const std::string& fileName, const std::string& text) {
  if (!WriteTextFile(fileName, text)) throw ECmdFailure("cannot write \"" + fileName + "\"");
}

// The graph exports, from the model and the hidden marks as the diagram
// reads them.
void WriteGraphExports(const TDiagramRequest& diagram) {
  const TSimplification options = SimplificationOptions();
  const struct {
    const std::string& File;
    TGraphFormat Format;
  } exports[] = {{diagram.Dot, TGraphFormat::Dot},
                 {diagram.GraphMl, TGraphFormat::GraphMl},
                 {diagram.Json, TGraphFormat::Json},
                 {diagram.Csv, TGraphFormat::Csv}};
  for (const auto& e : exports)
    if (!e.File.empty()) WriteOutput(e.File, ExportGraph(e.Format, *FileArray, options));
}

}  // namespace

TExitCode RunDiagram(const TCmdRequest& request) {
  const TAnalysisRequest& analysis = request.Analysis;
  const TDiagramRequest& diagram = request.Diagram;
  TAnalysisSession session(analysis);
  const TExitCode code = session.Run();
  // Nothing to draw for a file that could not be analysed at all.
  if (session.Outcome() != TProjectOutcome::Analysed || !FileArray) return code;
  // The registry's colours are the user's; lists from the command line get ours.
  if (analysis.ListsGiven) UsePalette();
  for (const std::string& name : diagram.Hidden) {
    bool known = false;
    for (int i = 0; i < FileArray->Count; ++i) {
      if (FileArray->Items[i] && SameTextAscii(FileArray->Items[i]->Name, name)) {
        FileArray->Items[i]->Hidden = true;
        known = true;
      }
    }
    if (UBase && SameTextAscii(UBase->Name, name)) {
      UBase->Hidden = true;
      known = true;
    }
    if (!known) throw ECmdUsage("--hide: no unit named \"" + name + "\"");
  }
  TNoDiagramHost host;
  TMetafile metafile;
  ComposeDiagram(host, metafile);

  if (diagram.Layout) WriteLayout(metafile);
  if (!diagram.Emf.empty() && !metafile.SaveToFile(diagram.Emf))
    throw ECmdFailure("cannot write \"" + diagram.Emf + "\"");
  if (!diagram.Png.empty()) WritePng(metafile, diagram.Png, diagram.Width);
  if (!diagram.Svg.empty()) WriteOutput(diagram.Svg, MetafileAsSvg(metafile.Handle(), metafile.Width, metafile.Height));
  if (diagram.AnyGraphExport()) WriteGraphExports(diagram);
  return code;
}
