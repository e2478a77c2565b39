#include "ExtCtrls.h"

#include <algorithm>

// ---- TPanel ------------------------------------------------------------------

void TPanel::Create(TControl& parent, const TBounds& b, const std::string& caption) {
  extraExStyle_ = WS_EX_CONTROLPARENT;
  TCustomControl::Create(parent, b, caption);
  clickOnMouseUp_ = true;
}

void TPanel::SetText(const std::string& text) {
  TControl::SetText(text);
  Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut b) {
  outer_ = b;
  Realign();
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut b) {
  inner_ = b;
  Realign();
  Invalidate();
}

void TPanel::SetBevelWidth(int w) {
  bevelWidth_ = std::max(w, 1);
  Realign();
  Invalidate();
}

void TPanel::SetBorderWidth(int w) {
  borderWidth_ = std::max(w, 0);
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment a) {
  alignment_ = a;
  Invalidate();
}

RECT TPanel::AlignRect() {
  RECT r = TCustomControl::AlignRect();
  int inset = borderWidth_;
  if (outer_ != bvNone) inset += bevelWidth_;
  if (inner_ != bvNone) inset += bevelWidth_;
  InflateRect(&r, -inset, -inset);
  return r;
}

namespace {
// Delphi's Frame3D: width lines, light on top and left for a raised cut.
void Frame3D(HDC dc, RECT& r, TBevelCut cut, int width) {
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  COLORREF topLeft = cut == bvRaised ? light : dark, bottomRight = cut == bvRaised ? dark : light;
  for (int i = 0; i < width; ++i) {
    RECT t{r.left, r.top, r.right, r.top + 1}, l{r.left, r.top, r.left + 1, r.bottom};
    RECT b{r.left, r.bottom - 1, r.right, r.bottom}, rt{r.right - 1, r.top, r.right, r.bottom};
    SetBkColor(dc, topLeft);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &t, nullptr, 0, nullptr);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &l, nullptr, 0, nullptr);
    SetBkColor(dc, bottomRight);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &b, nullptr, 0, nullptr);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rt, nullptr, 0, nullptr);
    InflateRect(&r, -1, -1);
  }
}
}  // namespace

void TPanel::Paint(HDC dc, const RECT& client) {
  RECT r = client;
  if (outer_ != bvNone) Frame3D(dc, r, outer_, bevelWidth_);
  InflateRect(&r, -borderWidth_, -borderWidth_);
  if (inner_ != bvNone) Frame3D(dc, r, inner_, bevelWidth_);
  std::string t = Text();
  if (t.empty()) return;
  TSelectedObject g(dc, FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font().Color));
  UINT flags = DT_SINGLELINE | DT_VCENTER |
               (alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT);
  DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, flags);
}

// ---- TImage ------------------------------------------------------------------

void TImage::Create(TControl& parent, const TBounds& b) { TCustomControl::Create(parent, b); }

void TImage::SetMetafile(HENHMETAFILE mf) {
  bitmap_.reset();
  metafile_.Attach(mf ? CopyEnhMetaFileA(mf, nullptr) : nullptr);
  Invalidate();
}

void TImage::SetBitmap(HBITMAP bmp) {
  metafile_.Reset();
  bitmap_ = bmp ? std::make_unique<TOwnedGdiObject>(bmp) : nullptr;
  Invalidate();
}

void TImage::LoadFromFile(const std::string& path) {
  HANDLE h = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (!h) throw std::runtime_error("Cannot load the picture \"" + path + "\"");
  SetBitmap(static_cast<HBITMAP>(h));
}

void TImage::SetStretch(bool s) {
  stretch_ = s;
  Invalidate();
}

void TImage::SetCenter(bool c) {
  center_ = c;
  Invalidate();
}

void TImage::SetTransparent(bool t) {
  transparent_ = t;
  Invalidate();
}

int TImage::PictureWidth() const {
  if (metafile_.Get()) {
    ENHMETAHEADER h{};
    GetEnhMetaFileHeader(metafile_.Get(), sizeof h, &h);
    return MulDiv(h.rclFrame.right - h.rclFrame.left, 96, 2540);
  }
  BITMAP bm{};
  if (bitmap_) GetObjectA(bitmap_->Get(), sizeof bm, &bm);
  return bm.bmWidth;
}

int TImage::PictureHeight() const {
  if (metafile_.Get()) {
    ENHMETAHEADER h{};
    GetEnhMetaFileHeader(metafile_.Get(), sizeof h, &h);
    return MulDiv(h.rclFrame.bottom - h.rclFrame.top, 96, 2540);
  }
  BITMAP bm{};
  if (bitmap_) GetObjectA(bitmap_->Get(), sizeof bm, &bm);
  return std::abs(bm.bmHeight);
}

RECT TImage::PictureRect(const RECT& client) const {
  if (stretch_) return client;
  const int w = PictureWidth(), h = PictureHeight();
  RECT r{0, 0, w, h};
  if (center_) OffsetRect(&r, (client.right - w) / 2, (client.bottom - h) / 2);
  return r;
}

void TImage::Paint(HDC dc, const RECT& client) {
  const RECT r = PictureRect(client);
  if (metafile_.Get()) {
    PlayEnhMetaFile(dc, metafile_.Get(), &r);
    return;
  }
  if (!bitmap_) return;
  TCreatedDC mem(CreateCompatibleDC(dc));
  {
    TSelectedObject g(mem, bitmap_->Get());
    const int w = PictureWidth(), h = PictureHeight();
    if (transparent_) {
      COLORREF key = GetPixel(mem, 0, h - 1);
      TransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, w, h, key);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, w, h, SRCCOPY);
    }
  }
}

// ---- TShape ------------------------------------------------------------------

void TShape::Create(TControl& parent, const TBounds& b, TShapeType shape) {
  shape_ = shape;
  TCustomControl::Create(parent, b);
}

void TShape::SetShape(TShapeType s) {
  shape_ = s;
  Invalidate();
}

void TShape::SetPen(TColor color, int width) {
  penColor_ = color;
  penWidth_ = std::max(width, 0);
  Invalidate();
}

void TShape::SetBrush(TColor color, bool clear) {
  brushColor_ = color;
  brushClear_ = clear;
  Invalidate();
}

void TShape::Paint(HDC dc, const RECT& client) {
  TOwnedGdiObject pen(penWidth_ ? CreatePen(PS_INSIDEFRAME, penWidth_, ColorToRGB(penColor_)) : GetStockObject(NULL_PEN));
  TOwnedGdiObject brush(brushClear_ ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(ColorToRGB(brushColor_)));
  TSelectedObject gp(dc, pen.Get());
  TSelectedObject gb(dc, brush.Get());
  int x = client.left, y = client.top, w = client.right - client.left, h = client.bottom - client.top;
  if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
    int side = std::min(w, h);
    x += (w - side) / 2;
    y += (h - side) / 2;
    w = h = side;
  }
  // A null pen leaves the right and bottom edges out; cover them.
  int extra = penWidth_ ? 0 : 1;
  switch (shape_) {
    case stRectangle:
    case stSquare:
      Rectangle(dc, x, y, x + w + extra, y + h + extra);
      break;
    case stRoundRect:
    case stRoundSquare: {
      int c = std::min(w, h) / 4;
      RoundRect(dc, x, y, x + w + extra, y + h + extra, c, c);
      break;
    }
    case stEllipse:
    case stCircle:
      Ellipse(dc, x, y, x + w + extra, y + h + extra);
      break;
  }
}
