// An enhanced metafile owned by one object: its handle, its size in diagram
// units (screen pixels), copies and saving.
#pragma once

#include <windows.h>

#include <string>

#include "EnhMetafile.h"

class TMetafile {
 public:
  TMetafile() = default;

  HENHMETAFILE Handle() const { return Metafile.Get(); }
  bool Empty() const { return !Metafile; }
  // Takes ownership of the handle.
  void Assign(HENHMETAFILE handle);
  void Clear();
  // Writes the picture in enhanced metafile format; false on failure.
  bool SaveToFile(const std::string& fileName) const;

  int Width = 0;   // in reference-device pixels
  int Height = 0;

 private:
  TEnhMetafile Metafile;
};

// The metafile's frame in .01 mm for a size in pixels of the reference
// device, and the other way round.
RECT FrameForPixels(HDC reference, int width, int height);
SIZE PixelsForFrame(HDC reference, const RECT& frame);

// Records into a metafile of the given size with the screen as reference
// device; Close (or the end of the recorder) completes the metafile. The
// frame is at least one pixel wide and high.
class TMetafileRecorder {
 public:
  TMetafileRecorder(TMetafile& target, HDC reference);
  // A frame given in .01 mm (a physical size); the target's pixel size
  // follows from it.
  TMetafileRecorder(TMetafile& target, HDC reference, const RECT& frame);
  ~TMetafileRecorder() { Close(); }
  TMetafileRecorder(const TMetafileRecorder&) = delete;
  TMetafileRecorder& operator=(const TMetafileRecorder&) = delete;

  HDC Dc() const { return DC; }
  bool Recording() const { return DC != nullptr; }
  void Close();

 private:
  TMetafile& Target;
  HDC DC = nullptr;
};

// Puts a copy of the picture on the clipboard; false when the clipboard
// could not be opened or refused it.
bool CopyMetafileToClipboard(HWND owner, HENHMETAFILE metafile);
