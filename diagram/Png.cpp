#include "Png.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The flat GDI+ interface is enough for a bitmap and its encoder.
#include <objidl.h>
#include <gdiplus.h>

#include "GdiGuard.h"
#include "GdiplusSession.h"
#include "WideText.h"

namespace {
using namespace Gdiplus;

bool PngEncoder(CLSID& clsid) {
  UINT count = 0, bytes = 0;
  if (DllExports::GdipGetImageEncodersSize(&count, &bytes) != Status::Ok || bytes == 0) return false;
  std::vector<unsigned char> buffer(bytes);
  auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  if (DllExports::GdipGetImageEncoders(count, bytes, codecs) != Status::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool SaveMetafileAsPng(HENHMETAFILE metafile, int width, int height, const std::string& fileName,
                       std::string& error) {
  if (!metafile) {
    error = "no picture";
    return false;
  }
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > 200'000'000) {
    error = "picture size out of range";
    return false;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TWindowDC screen;
  TOwnedGdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.Get() || !bits) {
    error = "cannot create a bitmap of that size";
    return false;
  }
  {
    TCreatedDC dc(CreateCompatibleDC(screen));
    TSelectedObject selected(dc, bitmap.Get());
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc, metafile, &all);
    GdiFlush();
  }

  TGdiplusSession gdiplus;
  if (!gdiplus.IsStarted()) {
    error = "GDI+ is not available";
    return false;
  }
  CLSID png;
  if (!PngEncoder(png)) {
    error = "no PNG encoder";
    return false;
  }
  GpBitmap* image = nullptr;
  if (DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                            static_cast<BYTE*>(bits), &image) != Status::Ok) {
    error = "cannot create the GDI+ bitmap";
    return false;
  }
  const Status saved = DllExports::GdipSaveImageToFile(image, WidenFileName(fileName).c_str(), &png, nullptr);
  DllExports::GdipDisposeImage(image);
  if (saved != Status::Ok) {
    error = "cannot write " + fileName;
    return false;
  }
  return true;
}
