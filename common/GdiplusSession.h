// GDI+ started for the life of the object (link gdiplus).
#pragma once

#include <windows.h>

#include <objidl.h>
#include <gdiplus.h>

class TGdiplusSession {
 public:
  TGdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Status::Ok;
  }
  ~TGdiplusSession() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }
  TGdiplusSession(const TGdiplusSession&) = delete;
  TGdiplusSession& operator=(const TGdiplusSession&) = delete;
  bool IsStarted() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};
