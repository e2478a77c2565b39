// GDI+ started for the life of the object (link gdiplus).
#pragma once

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

class TGdiplusSession {
 public:
  TGdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Started = Gdiplus::GdiplusStartup(&Token, &input, nullptr) == Gdiplus::Status::Ok;
  }
  ~TGdiplusSession() {
    if (Started) Gdiplus::GdiplusShutdown(Token);
  }
  TGdiplusSession(const TGdiplusSession&) = delete;
  TGdiplusSession& operator=(const TGdiplusSession&) = delete;
  bool IsStarted() const { return Started; }

 private:
  ULONG_PTR Token = 0;
  bool Started = false;
};
