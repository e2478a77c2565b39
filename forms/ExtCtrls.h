// Panel, image and shape: controls Win32 lacks, painted by us.
#pragma once

#include "EnhMetafile.h"
#include "Forms.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

// A container with bevels and an optional centred caption. Aligned children
// are laid out inside the bevels and the border, as in Delphi.
class TPanel : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& caption = {});
  void SetBevelOuter(TBevelCut b);
  void SetBevelInner(TBevelCut b);
  void SetBevelWidth(int w);
  void SetBorderWidth(int w);
  void SetAlignment(TAlignment a);
  int BevelWidth() const { return bevelWidth_; }
  void SetText(const std::string& text) override;

 protected:
  void Paint(HDC dc, const RECT& client) override;
  RECT AlignRect() override;

 private:
  TBevelCut outer_ = bvRaised, inner_ = bvNone;
  int bevelWidth_ = 1, borderWidth_ = 0;
  TAlignment alignment_ = taCenter;
};

// Shows an enhanced metafile or a bitmap: stretched over its client when
// Stretch is set, otherwise at the picture's own size.
class TImage : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b);
  // Keeps a copy of the metafile; nullptr clears the picture.
  void SetMetafile(HENHMETAFILE mf);
  HENHMETAFILE Metafile() const { return metafile_.Get(); }
  // Takes the bitmap over.
  void SetBitmap(HBITMAP bmp);
  HBITMAP Bitmap() const { return bitmap_ ? static_cast<HBITMAP>(bitmap_->Get()) : nullptr; }
  // Loads a .BMP file; raises an exception when it cannot be read.
  void LoadFromFile(const std::string& path);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool s);
  void SetCenter(bool c);
  // Bitmaps only: the colour of the bottom-left pixel shows the parent.
  void SetTransparent(bool t);
  // Size of the picture in pixels (metafiles: their frame at 96 dpi).
  int PictureWidth() const;
  int PictureHeight() const;

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  RECT PictureRect(const RECT& client) const;
  TEnhMetafile metafile_;
  std::unique_ptr<TOwnedGdiObject> bitmap_;
  bool stretch_ = false, center_ = false, transparent_ = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b, TShapeType shape = stRectangle);
  void SetShape(TShapeType s);
  void SetPen(TColor color, int width = 1);
  // clear = no filling (the parent's colour shows).
  void SetBrush(TColor color, bool clear = false);
  TColor BrushColor() const { return brushColor_; }

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  TShapeType shape_ = stRectangle;
  TColor penColor_ = clBlack, brushColor_ = clWhite;
  int penWidth_ = 1;
  bool brushClear_ = false;
};
