#include "CmdDiagram.h"

#include <cmath>

#include "CmdAnalysis.h"
#include "CmdOutput.h"
#include "Compose.h"
#include "Globales.h"
#include "Layout.h"
#include "Png.h"
#include "Units.h"
#include "uChaines.h"

namespace {

struct TDiagramRequest {
  bool Layout = false;
  std::string Emf, Png;
  int Width = 0;  // 0: the picture's own size
  std::vector<std::string> Hidden;  // names whose labels are hidden, as a click would
  std::vector<std::string> AnalysisArgs;
};

TDiagramRequest ParseDiagramOptions(const std::vector<std::string>& args) {
  TDiagramRequest request;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw ECmdUsage(a + " needs a value");
      return args[++i];
    };
    if (a == "--layout") {
      request.Layout = true;
    } else if (a == "--emf") {
      request.Emf = value();
    } else if (a == "--png") {
      request.Png = value();
    } else if (a == "--hide") {
      request.Hidden.push_back(value());
    } else if (a == "--width") {
      int32_t width = 0;
      const std::string& text = value();
      if (!TryStrToInt(text, width) || width < 1 || width > 20000)
        throw ECmdUsage("--width needs a number of pixels from 1 to 20000, not \"" + text + "\"");
      request.Width = width;
    } else {
      request.AnalysisArgs.push_back(a);
    }
  }
  if (!request.Layout && request.Emf.empty() && request.Png.empty())
    throw ECmdUsage("no output asked for (--layout, --emf or --png)");
  if (request.Width != 0 && request.Png.empty()) throw ECmdUsage("--width goes with --png");
  return request;
}

// Without a registry every colour would be black: locations get a palette
// of their own, the current directory blue.
void UsePalette() {
  static const COLORREF palette[] = {RGB(0, 128, 0),   RGB(128, 0, 128), RGB(0, 128, 128),
                                     RGB(160, 96, 0),  RGB(96, 96, 160), RGB(128, 128, 0)};
  for (int i = 0; i + 1 < LocationCount; ++i)
    if (Locations[i]) Locations[i]->Colour = palette[i % (sizeof palette / sizeof palette[0])];
  if (LocationCount > 0 && Locations[LocationCount - 1]) Locations[LocationCount - 1]->Colour = RGB(0, 0, 192);
  NotFoundColour = RGB(208, 0, 0);
  BasicUnitsColour = RGB(128, 128, 128);
}

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
  int width = ownWidth, height = ownHeight;
  if (requestedWidth > 0) {
    width = requestedWidth;
    height = std::max(1, static_cast<int>(std::lround(static_cast<double>(ownHeight) * requestedWidth / ownWidth)));
  }
  std::string error;
  if (!SaveMetafileAsPng(metafile.Handle(), width, height, fileName, error))
    throw ECmdUsage("cannot write the PNG: " + error);
}

}  // namespace

int CmdDiagram(const std::vector<std::string>& args) {
  TDiagramRequest request = ParseDiagramOptions(args);
  const TAnalysisRequest analysis = ParseAnalysisOptions(request.AnalysisArgs);
  // Output names are relative to where the command runs; the analysis
  // moves to the project's directory.
  if (!request.Emf.empty()) request.Emf = ExpandFileName(request.Emf);
  if (!request.Png.empty()) request.Png = ExpandFileName(request.Png);

  TAnalysisSession session(analysis);
  const int code = session.Run();
  if (code == 3) return code;
  // The registry's colours are the user's; lists from the command line get ours.
  if (analysis.ListsGiven) UsePalette();
  for (const std::string& name : request.Hidden) {
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

  if (request.Layout) WriteLayout(metafile);
  if (!request.Emf.empty() && !metafile.SaveToFile(request.Emf))
    throw ECmdUsage("cannot write \"" + request.Emf + "\"");
  if (!request.Png.empty()) WritePng(metafile, request.Png, request.Width);
  return code;
}

namespace {
std::vector<std::string> With(const char* option, const std::vector<std::string>& args) {
  std::vector<std::string> all{option};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}
}  // namespace

int CmdLayout(const std::vector<std::string>& args) { return CmdDiagram(With("--layout", args)); }

int CmdEmf(const std::vector<std::string>& args) { return CmdDiagram(With("--emf", args)); }

int CmdPng(const std::vector<std::string>& args) { return CmdDiagram(With("--png", args)); }
