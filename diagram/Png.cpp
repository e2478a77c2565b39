#include "Png.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The flat GDI+ interface is enough for a bitmap and its encoder.
#include <objidl.h>
#include <gdiplus.h>

#include "GdiGuard.h"

namespace {
using namespace Gdiplus;

class TGdiplus {
 public:
  TGdiplus() {
    GdiplusStartupInput input;
    Started = GdiplusStartup(&Token, &input, nullptr) == Status::Ok;
  }
  ~TGdiplus() {
    if (Started) GdiplusShutdown(Token);
  }
  bool Started = false;

 private:
  ULONG_PTR Token = 0;
};

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

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), result.data(), n);
  return result;
}

class TBitmapHandle {
 public:
  explicit TBitmapHandle(HBITMAP bitmap) : Bitmap(bitmap) {}
  ~TBitmapHandle() {
    if (Bitmap) DeleteObject(Bitmap);
  }
  TBitmapHandle(const TBitmapHandle&) = delete;
  TBitmapHandle& operator=(const TBitmapHandle&) = delete;
  HBITMAP Get() const { return Bitmap; }

 private:
  HBITMAP Bitmap;
};
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
  TScreenDC screen;
  TBitmapHandle bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.Get() || !bits) {
    error = "cannot create a bitmap of that size";
    return false;
  }
  {
    TMemoryDC dc(screen);
    TSelectedObject selected(dc, bitmap.Get(), false);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc, metafile, &all);
    GdiFlush();
  }

  TGdiplus gdiplus;
  if (!gdiplus.Started) {
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
  const Status saved = DllExports::GdipSaveImageToFile(image, Wide(fileName).c_str(), &png, nullptr);
  DllExports::GdipDisposeImage(image);
  if (saved != Status::Ok) {
    error = "cannot write " + fileName;
    return false;
  }
  return true;
}
