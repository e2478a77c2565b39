// Shared set-up of the forms tests: the application initialised once, the
// error report recorded instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"

class FormsTest : public testing::Test {
 protected:
  void SetUp() override {
    Application.Terminated = false;
    Application.OnException = [this](const std::string& m) { errors.push_back(m); };
  }
  void TearDown() override {
    Application.ProcessMessages();
    Application.OnException = nullptr;
    Application.Terminated = false;
  }
  // Runs the message loop until done() holds or no message came for a while.
  template <class F>
  bool PumpUntil(F done, int rounds = 200) {
    for (int i = 0; i < rounds && !done(); ++i) {
      Application.ProcessMessages();
      if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return done();
  }
  std::vector<std::string> errors;
};

// A 32-bit DIB to paint into and read pixels from.
class TTestBitmap {
 public:
  TTestBitmap(int w, int h) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    for (int i = 0; i < w * h; ++i) bits_[i] = 0x00123456;  // a colour nothing paints
  }
  ~TTestBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // As COLORREF (0x00BBGGRR).
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    unsigned v = bits_[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
  unsigned* bits_ = nullptr;
};
