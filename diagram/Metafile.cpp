#include "Metafile.h"

#include <algorithm>

TMetafile::TMetafile(TMetafile&& other) noexcept : Width(other.Width), Height(other.Height), Metafile(other.Metafile) {
  other.Metafile = nullptr;
}

TMetafile& TMetafile::operator=(TMetafile&& other) noexcept {
  if (this != &other) {
    Clear();
    Metafile = other.Metafile;
    Width = other.Width;
    Height = other.Height;
    other.Metafile = nullptr;
  }
  return *this;
}

void TMetafile::Assign(HENHMETAFILE handle) {
  if (handle == Metafile) return;
  Clear();
  Metafile = handle;
}

void TMetafile::Clear() {
  if (Metafile) DeleteEnhMetaFile(Metafile);
  Metafile = nullptr;
}

HENHMETAFILE TMetafile::Copy() const { return Metafile ? CopyEnhMetaFileA(Metafile, nullptr) : nullptr; }

bool TMetafile::SaveToFile(const std::string& fileName) const {
  if (!Metafile || fileName.empty()) return false;
  HENHMETAFILE written = CopyEnhMetaFileA(Metafile, fileName.c_str());
  if (!written) return false;
  DeleteEnhMetaFile(written);
  return true;
}

RECT FrameForPixels(HDC reference, int width, int height) {
  const int mmWide = GetDeviceCaps(reference, HORZSIZE), pxWide = GetDeviceCaps(reference, HORZRES);
  const int mmHigh = GetDeviceCaps(reference, VERTSIZE), pxHigh = GetDeviceCaps(reference, VERTRES);
  return RECT{0, 0, MulDiv(std::max(width, 1), mmWide * 100, pxWide), MulDiv(std::max(height, 1), mmHigh * 100, pxHigh)};
}

TMetafileRecorder::TMetafileRecorder(TMetafile& target, HDC reference)
    : TMetafileRecorder(target, reference, FrameForPixels(reference, target.Width, target.Height)) {}

TMetafileRecorder::TMetafileRecorder(TMetafile& target, HDC reference, const RECT& frame) : Target(target) {
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
  HENHMETAFILE copy = CopyEnhMetaFileA(metafile, nullptr);
  if (!copy) return false;
  if (!OpenClipboard(owner)) {
    DeleteEnhMetaFile(copy);
    return false;
  }
  EmptyClipboard();
  // The clipboard owns the copy once it accepts it.
  const bool accepted = SetClipboardData(CF_ENHMETAFILE, copy) != nullptr;
  CloseClipboard();
  if (!accepted) DeleteEnhMetaFile(copy);
  return accepted;
}
