#include "Metafile.h"

#include <algorithm>

#include "ClipboardOwner.h"

void TMetafile::Assign(HENHMETAFILE handle) { Metafile.Attach(handle); }

void TMetafile::Clear() { Metafile.Reset(); }

bool TMetafile::SaveToFile(const std::string& fileName) const {
  if (!Metafile || fileName.empty()) return false;
  return static_cast<bool>(TEnhMetafile(CopyEnhMetaFileA(Metafile.Get(), fileName.c_str())));
}

RECT FrameForPixels(HDC reference, int width, int height) {
  const int mmWide = GetDeviceCaps(reference, HORZSIZE), pxWide = GetDeviceCaps(reference, HORZRES);
  const int mmHigh = GetDeviceCaps(reference, VERTSIZE), pxHigh = GetDeviceCaps(reference, VERTRES);
  return RECT{0, 0, MulDiv(std::max(width, 1), mmWide * 100, pxWide), MulDiv(std::max(height, 1), mmHigh * 100, pxHigh)};
}

SIZE PixelsForFrame(HDC reference, const RECT& frame) {
  const int mmWide = GetDeviceCaps(reference, HORZSIZE), pxWide = GetDeviceCaps(reference, HORZRES);
  const int mmHigh = GetDeviceCaps(reference, VERTSIZE), pxHigh = GetDeviceCaps(reference, VERTRES);
  return SIZE{MulDiv(frame.right - frame.left, pxWide, mmWide * 100), MulDiv(frame.bottom - frame.top, pxHigh, mmHigh * 100)};
}

TMetafileRecorder::TMetafileRecorder(TMetafile& target, HDC reference) : Target(target) {
  const RECT frame = FrameForPixels(reference, target.Width, target.Height);
  DC = CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
}

TMetafileRecorder::TMetafileRecorder(TMetafile& target, HDC reference, const RECT& frame) : Target(target) {
  const SIZE pixels = PixelsForFrame(reference, frame);
  Target.Width = pixels.cx;
  Target.Height = pixels.cy;
  DC = CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
}

void TMetafileRecorder::Close() {
  if (!DC) return;
  HENHMETAFILE done = CloseEnhMetaFile(DC);
  DC = nullptr;
  Target.Assign(done);
}

bool CopyMetafileToClipboard(HWND owner, HENHMETAFILE metafile) {
  if (!metafile) return false;
  TEnhMetafile copy(CopyEnhMetaFileA(metafile, nullptr));
  if (!copy) return false;
  const TOpenClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  // The clipboard owns the copy once it accepts it.
  const bool accepted = SetClipboardData(CF_ENHMETAFILE, copy.Get()) != nullptr;
  if (accepted) copy.Detach();
  return accepted;
}
