#include "Picture.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ClipboardOwner.h"
#include "GlobalMemory.h"
#include "Dispatch.h"
#include "Measure.h"

namespace {

// Larger files are refused rather than read into memory.
constexpr std::streamoff MaxFileBytes = 64 * 1024 * 1024;
constexpr double ScreenDpi = 96.0;
constexpr double HimetricPerInch = 2540.0;
constexpr DWORD EmfSignature = 0x464D4520;  // " EMF"
constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";

template <class T>
bool ReadAt(const std::string& bytes, size_t offset, T& value) {
  if (offset + sizeof(T) > bytes.size()) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

uint32_t BigEndian32(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4 && offset + i < bytes.size(); ++i) v = (v << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return v;
}

[[noreturn]] void NotAPicture(const std::string& source) {
  throw TAutoError(WordError::CommandFailed,
                   "\"" + source + "\" is not a picture that wordproc can read (enhanced metafile, BMP or PNG).");
}

TPicture FromEmf(const std::string& bytes, const std::string& source) {
  ENHMETAHEADER header{};
  if (!ReadAt(bytes, 0, header) || header.dSignature != EmfSignature) NotAPicture(source);
  TPicture p;
  p.Format = TPictureFormat::Emf;
  p.Data = bytes;
  // The frame is in hundredths of a millimetre.
  const double width = header.rclFrame.right - header.rclFrame.left;
  const double height = header.rclFrame.bottom - header.rclFrame.top;
  if (width <= 0 || height <= 0) NotAPicture(source);
  p.NaturalWidth = width / HimetricPerInch * PointsPerInch;
  p.NaturalHeight = height / HimetricPerInch * PointsPerInch;
  return p;
}

TPicture FromBmp(const std::string& bytes, const std::string& source) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  if (!ReadAt(bytes, 0, file) || !ReadAt(bytes, sizeof file, info) || info.biSize < sizeof info ||
      info.biWidth <= 0 || info.biHeight == 0 || file.bfOffBits >= bytes.size())
    NotAPicture(source);
  // A packed DIB: the header, its colour table or masks, then the bits,
  // wherever the file put them.
  size_t colours = info.biClrUsed ? info.biClrUsed : info.biBitCount <= 8 ? (size_t{1} << info.biBitCount) : 0;
  if (info.biSize == sizeof info && info.biCompression == BI_BITFIELDS) colours = 3;
  const size_t headerBytes = info.biSize + colours * sizeof(RGBQUAD);
  if (sizeof file + headerBytes > file.bfOffBits) NotAPicture(source);
  TPicture p;
  p.Format = TPictureFormat::Dib;
  p.Data = bytes.substr(sizeof file, headerBytes) + bytes.substr(file.bfOffBits);
  p.PixelWidth = info.biWidth;
  p.PixelHeight = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const double dpiX = info.biXPelsPerMeter > 0 ? info.biXPelsPerMeter * 0.0254 : ScreenDpi;
  const double dpiY = info.biYPelsPerMeter > 0 ? info.biYPelsPerMeter * 0.0254 : ScreenDpi;
  p.NaturalWidth = p.PixelWidth / dpiX * PointsPerInch;
  p.NaturalHeight = p.PixelHeight / dpiY * PointsPerInch;
  return p;
}

TPicture FromPng(const std::string& bytes, const std::string& source) {
  // The IHDR chunk comes first: width and height, big-endian.
  if (bytes.size() < 24 || bytes.compare(12, 4, "IHDR") != 0) NotAPicture(source);
  TPicture p;
  p.Format = TPictureFormat::Png;
  p.Data = bytes;
  p.PixelWidth = static_cast<int>(BigEndian32(bytes, 16));
  p.PixelHeight = static_cast<int>(BigEndian32(bytes, 20));
  if (p.PixelWidth <= 0 || p.PixelHeight <= 0) NotAPicture(source);
  p.NaturalWidth = p.PixelWidth / ScreenDpi * PointsPerInch;
  p.NaturalHeight = p.PixelHeight / ScreenDpi * PointsPerInch;
  return p;
}

}  // namespace

std::string ReadWholeFile(const std::string& fileName, const char* what) {
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  if (!in) throw TAutoError(WordError::FileNotFound, std::string("The ") + what + " \"" + fileName + "\" cannot be opened.");
  const std::streamoff size = in.tellg();
  if (size > MaxFileBytes)
    throw TAutoError(WordError::CommandFailed, std::string("The ") + what + " \"" + fileName + "\" is too large.");
  in.seekg(0);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw TAutoError(WordError::CommandFailed, std::string("The ") + what + " \"" + fileName + "\" cannot be read.");
  return bytes;
}

TPicture PictureFromBytes(const std::string& bytes, const std::string& source) {
  TPicture picture;
  DWORD type = 0, signature = 0;
  if (ReadAt(bytes, 0, type) && type == EMR_HEADER && ReadAt(bytes, 40, signature) && signature == EmfSignature)
    picture = FromEmf(bytes, source);
  else if (bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M')
    picture = FromBmp(bytes, source);
  else if (bytes.compare(0, 8, PngSignature, 8) == 0)
    picture = FromPng(bytes, source);
  else
    NotAPicture(source);
  const double side = std::max(picture.NaturalWidth, picture.NaturalHeight);
  const double scale = side > MaxPictureSide ? MaxPictureSide / side : 1.0;
  picture.Width = picture.NaturalWidth * scale;
  picture.Height = picture.NaturalHeight * scale;
  picture.Source = source;
  return picture;
}

TPicture LoadPictureFile(const std::string& fileName) {
  return PictureFromBytes(ReadWholeFile(fileName, "picture file"), fileName);
}

bool ReadClipboard(TPicture& picture, std::string& text) {
  TOpenClipboard clipboard;
  if (!clipboard.IsOpen()) throw TAutoError(WordError::CommandFailed, "The clipboard cannot be opened.");
  // The clipboard keeps its own data: read it, never free it.
  if (HENHMETAFILE metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE))) {
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    std::string bytes(size, '\0');
    if (size == 0 || GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bytes.data())) != size)
      throw TAutoError(WordError::CommandFailed, "The picture on the clipboard cannot be read.");
    picture = PictureFromBytes(bytes, "clipboard");
    return true;
  }
  if (HGLOBAL block = GetClipboardData(CF_TEXT)) {
    TGlobalLock lock(block);
    if (lock.Get()) {
      const char* chars = static_cast<const char*>(lock.Get());
      text.assign(chars, strnlen(chars, lock.Size()));
      return false;
    }
  }
  throw TAutoError(WordError::NotAvailable, "The clipboard holds nothing that can be pasted.");
}
