#include "Output.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "Analysis.h"
#include "Draw.h"
#include "GdiGuard.h"
#include "Globales.h"
#include "Messages.h"
#include "PrintJob.h"
#include "Settings.h"
#include "Units.h"
#include "Yield.h"

namespace {
// A metafile frame is in .01 mm in 32 bits; 100 m is far more than any use.
constexpr double MaxCentimetres = 10000.0;

std::string NameWithExtension(const std::string& fileName, const std::string& extension) {
  size_t slash = fileName.find_last_of("\\/:");
  size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fileName + extension;
  return fileName.substr(0, dot) + extension;
}

// digits [. digits] or . digits, an optional sign and exponent, blanks around.
bool IsDecimalWithPoint(const std::string& text) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  while (i < n && text[i] == ' ') ++i;
  return i == n;
}

TFile* TopUnit() {
  if (!FileArray || FileArray->Count == 0) return nullptr;
  return FileArray->Items[FileArray->Count - 1];
}

std::string ChosenFileName(const std::string& extension, const TAskFileName& dialog) {
  std::string name = ProposedFileName(extension);
  if (name.empty() || !FileExists(name)) return name;
  if (!dialog || !dialog(name)) return std::string();
  return name;
}
}  // namespace

std::string ProposedEmfName(const std::string& fileName) { return NameWithExtension(fileName, ".EMF"); }

bool OrientationShouldSwitch(int pageWidth, int pageHeight, int diagramWidth, int diagramHeight) {
  return (pageHeight < pageWidth && diagramWidth < diagramHeight) ||
         (pageHeight > pageWidth && diagramWidth > diagramHeight);
}

short SwitchedOrientation(short orientation) {
  return orientation == DMORIENT_LANDSCAPE ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
}

bool DecidePrintOrientation(DEVMODEA* devMode, int pageWidth, int pageHeight, int diagramWidth, int diagramHeight,
                            bool checked, const std::function<bool()>& ask) {
  bool automatic = checked;
  // Without a settings store the answer still counts for this print.
  if (!Settings || Reg::ReadAutoOrientation(*Settings) == Reg::TAutoOrientation::NotSet) {
    automatic = ask ? ask() : false;
    if (Settings) Reg::WriteAutoOrientation(*Settings, automatic);
  }
  if (automatic && devMode && OrientationShouldSwitch(pageWidth, pageHeight, diagramWidth, diagramHeight)) {
    devMode->dmOrientation = SwitchedOrientation(devMode->dmOrientation);
    devMode->dmFields |= DM_ORIENTATION;
  }
  return automatic;
}

bool PrintMetafile(HDC printer, HENHMETAFILE metafile, const std::string& title, const std::string& outputFile) {
  if (!printer || !metafile) return false;
  TPrintJob job(printer, title, outputFile);
  if (!job.StartPage()) return false;
  RECT page{0, 0, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES)};
  const bool played = PlayEnhMetaFile(printer, metafile, &page) != FALSE;
  return job.EndPage() && played && job.End();  // a job not ended is aborted
}

bool PrintDiagram(HDC printer, DEVMODEA* devMode, const TMetafile& metafile, const std::string& title,
                  const std::function<bool()>& ask, bool& automatic, const std::string& outputFile) {
  if (!printer) return false;
  const short before = devMode ? devMode->dmOrientation : 0;
  automatic = DecidePrintOrientation(devMode, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES),
                                     metafile.Width, metafile.Height, automatic, ask);
  if (devMode && devMode->dmOrientation != before) ResetDCA(printer, devMode);
  return PrintMetafile(printer, metafile.Handle(), title, outputFile);
}

double CentimetresOrTen(const std::string& answer) {
  if (!IsDecimalWithPoint(answer)) return 10.0;
  const double value = std::strtod(answer.c_str(), nullptr);
  if (!std::isfinite(value) || value <= 0.0 || value > MaxCentimetres) return 10.0;
  return value;
}

TMetafile MetafileAtSize(const TMetafile& source, double widthCm, double heightCm) {
  TMetafile sized;
  if (source.Empty()) return sized;
  // .01 mm: 10 cm is 10000.
  RECT frame{0, 0, static_cast<LONG>(std::lround(widthCm * 1000.0)), static_cast<LONG>(std::lround(heightCm * 1000.0))};
  if (frame.right < 1) frame.right = 1;
  if (frame.bottom < 1) frame.bottom = 1;
  TWindowDC screen;
  {
    TMetafileRecorder recorder(sized, screen, frame);
    if (!recorder.Recording()) return sized;
    RECT target{0, 0, sized.Width, sized.Height};
    PlayEnhMetaFile(recorder.Dc(), source.Handle(), &target);
  }
  return sized;
}

bool CopyDiagram(HWND owner, const TMetafile& metafile, const TInputBox& ask, TMetafile* sized) {
  if (!ask) return false;
  std::string width = DefaultCentimetres, height = DefaultCentimetres;
  if (!ask(WidthPrompt, width)) return false;
  if (!ask(HeightPrompt, height)) return false;
  TMetafile picture = MetafileAtSize(metafile, CentimetresOrTen(width), CentimetresOrTen(height));
  const bool copied = CopyMetafileToClipboard(owner, picture.Handle());
  if (sized) *sized = std::move(picture);
  return copied;
}

std::string ProposedFileName(const std::string& extension) {
  const TFile* top = TopUnit();
  if (!top) return std::string();
  std::string directory;
  if (IsLocationIndex(top->Location) && Locations[top->Location])
    directory = Locations[top->Location]->Path;
  else
    directory = ExpandFileName(".");
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  return ExpandFileName(directory + top->Name + extension);
}

std::string DocumentFileName(const TAskFileName& saveDoc) { return ChosenFileName(".DOC", saveDoc); }

std::string DiagramFileName(const TAskFileName& saveEmf) { return ChosenFileName(".EMF", saveEmf); }

bool GenerateDocument(TDiagramHost& host, TMetafile& metafile) {
  if (Analysing || Composing || !DocumentGenerator) return false;
  host.SetHourglass(true);
  // Word's steps let the message loop run before the composition disables
  // the menus: no command may start a second run, or a redraw, meanwhile.
  host.EnableMenus(false);
  SetStatus(Msg::StatusLoadingWord);
  try {
    DocumentGenerator->Start();
  } catch (...) {
    host.EnableMenus(true);
    host.SetHourglass(false);
    throw;
  }
  GeneratingDocument = true;
  try {
    SetStatus(Msg::StatusGenerating);
    DocumentGenerator->NewDocument();
    ComposeDiagram(host, metafile);
  } catch (...) {
    GeneratingDocument = false;
    host.EnableMenus(true);
    host.SetHourglass(false);
    SetStatus(Msg::StatusReady);
    throw;
  }
  GeneratingDocument = false;
  host.EnableMenus(true);
  host.SetHourglass(false);
  SetStatus(Msg::StatusReady);
  return true;
}
