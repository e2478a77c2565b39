// Wine's (or Windows') HTML Help viewer as the tests see it: its top-level
// window, and a page read out of a compiled help file through the system's
// own reader of .chm files (the "mk:@MSITStore:" protocol).
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

#include "HelpProject.h"

// The viewer's frame ("HH Parent") of this process with that caption, or
// nullptr.
inline HWND FindViewer(const char* caption) {
  struct TSearch {
    const char* Caption;
    HWND Found;
  } search{caption, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(p);
        char cls[64] = {}, text[256] = {};
        GetClassNameA(w, cls, sizeof cls);
        GetWindowTextA(w, text, sizeof text);
        if (std::string(cls) == "HH Parent" && std::string(text) == s->Caption && IsWindowVisible(w)) {
          s->Found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// Windows' reader of compiled help files (itss.dll), which the viewer reads
// its pages with: the ITStorage object and its interface.
struct IITStorage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                   SNB exclude, DWORD reserved, IStorage** opened) = 0;
};
inline constexpr CLSID CLSID_ITStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
inline constexpr IID IID_IITStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

// A page of a compiled help file, as the viewer reads it; empty when the
// file does not hold it. COM must be initialised.
inline std::string ReadCompiledPage(const std::string& chm, const std::string& page) {
  auto wide = [](const std::string& s) {
    std::wstring w(s.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), static_cast<int>(w.size())));
    return w;
  };
  std::string text;
  IITStorage* its = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ITStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IITStorage,
                              reinterpret_cast<void**>(&its))))
    return text;
  IStorage* storage = nullptr;
  if (SUCCEEDED(its->StgOpenStorage(wide(chm).c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                    &storage))) {
    IStream* stream = nullptr;
    if (SUCCEEDED(storage->OpenStream(wide(page).c_str(), nullptr, STGM_READ, 0, &stream))) {
      char buf[4096];
      ULONG n = 0;
      while (SUCCEEDED(stream->Read(buf, sizeof buf, &n)) && n > 0) text.append(buf, n);
      stream->Release();
    }
    storage->Release();
  }
  its->Release();
  return text;
}

// Lets the messages of this thread run for a while (the viewer builds its
// window in several steps).
inline void PumpFor(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}
