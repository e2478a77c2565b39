#include "WordprocTestSupport.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "ClipboardOwner.h"
#include "GdiGuard.h"
#include "Handle.h"
#include "HostPath.h"
#include "RegKey.h"
#include "Switches.h"

void SetSwitch(const char* name, const std::string& value) {
  TRegKey key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, StandinKey));
  ASSERT_EQ(RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
}

void ClearSwitches() { RegDeleteTreeA(HKEY_CURRENT_USER, StandinKey); }

TWorkDir::TWorkDir() {
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  const std::filesystem::path dir =
      base / ("wordproc-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(dir);
  Dir = dir.string();
}

TWorkDir::~TWorkDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Dir, ignored);
}

std::string TWorkDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = File(name);
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string BmpBytes(int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = 0; y < height; ++y) {
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      const bool inside = x > width / 4 && x < width * 3 / 4 && y > height / 4 && y < height * 3 / 4;
      row[static_cast<size_t>(x * 3)] = static_cast<char>(inside ? 0xFF : 0x00);      // blue
      row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(inside ? 0x00 : 0xFF);  // red
    }
    bytes += row;
  }
  return bytes;
}

namespace {
using TMetafileOwner = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, decltype(&DeleteEnhMetaFile)>;
}

std::string EmfBytes(int width, int height, const std::string& text) {
  const RECT frame{0, 0, width, height};
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);  // ended by CloseEnhMetaFile below
  if (!dc) return {};
  // Logical units of the reference device: draw over the whole frame.
  const int w = MulDiv(width, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, HORZSIZE) * 100);
  const int h = MulDiv(height, GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, VERTSIZE) * 100);
  Rectangle(dc, 0, 0, w, h);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, w, h);
  {
    TSelectedObject font(dc, TOwnedGdiObject(CreateFontA(-h / 12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                         VARIABLE_PITCH | FF_SWISS, "Arial")));
    TextOutA(dc, w / 10, h / 10, text.c_str(), static_cast<int>(text.size()));
  }
  TMetafileOwner metafile(CloseEnhMetaFile(dc), &DeleteEnhMetaFile);
  const UINT size = GetEnhMetaFileBits(metafile.get(), 0, nullptr);
  std::string bytes(size, '\0');
  GetEnhMetaFileBits(metafile.get(), size, reinterpret_cast<BYTE*>(bytes.data()));
  return bytes;
}

bool PutMetafileOnClipboard(const std::string& bytes) {
  TMetafileOwner metafile(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data())),
                          &DeleteEnhMetaFile);
  if (!metafile) return false;
  TOpenClipboard clipboard;
  if (!clipboard.IsOpen()) return false;
  EmptyClipboard();
  // The clipboard owns the metafile once it takes it.
  if (!SetClipboardData(CF_ENHMETAFILE, metafile.get())) return false;
  metafile.release();
  return true;
}


int RunProgram(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
  const THandle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(processHandle.Get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(processHandle.Get(), &code);
  return static_cast<int>(code);
}
