#include "Compose.h"

#include <exception>
#include <stdexcept>

#include "Draw.h"
#include "GdiGuard.h"
#include "Layout.h"
#include "Messages.h"
#include "TextFit.h"
#include "Units.h"
#include "Yield.h"

bool Composing = false;

bool ComposeDiagram(TDiagramHost& host, TMetafile& metafile) {
  if (Composing) return false;
  host.EnableMenus(false);
  Composing = true;
  if (!GeneratingDocument) SetStatus(Msg::StatusComposing);
  host.SetHourglass(true);
  host.StopTimer();
  ProcessMessages();

  std::exception_ptr failure;
  try {
    RECT r = LayoutSpace;
    if (FileArray) ComputeLayout(*FileArray, r);
    metafile.Width = r.right;
    metafile.Height = r.bottom;
    TWindowDC screen;
    TMetafileRecorder recorder(metafile, screen);
    if (!recorder.Recording()) {
      metafile.Clear();
      throw std::runtime_error("Cannot create the diagram's metafile");
    }
    {
      TCanvas canvas(recorder.Dc());
      ProcessMessages();
      // Fonts are searched on a context of the reference device, which
      // measures exactly as the metafile does; the metafile only receives
      // the fonts that draw.
      TTextMeasure measure(screen);
      TTextMeasureScope fastFit(recorder.Dc(), measure);
      DrawDiagram(FileArray.get(), canvas, r);
    }
  } catch (...) {
    failure = std::current_exception();
  }

  try {
    host.ShowMetafile(metafile);
    if (GeneratingDocument) {
      CopyMetafileToClipboard(host.ClipboardOwner(), metafile.Handle());
      if (DocumentGenerator) DocumentGenerator->Finish();
    }
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }

  host.Invalidate();
  host.StartTimer();
  Composing = false;
  host.SetHourglass(false);
  host.EnableMenus(true);
  SetStatus(Msg::StatusReady);
  if (failure) std::rethrow_exception(failure);
  return true;
}
