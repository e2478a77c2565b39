#include "Pictures.h"

#include "Module.h"

HBITMAP LoadPicture(int id, bool buttonFace) {
  const UINT flags = LR_CREATEDIBSECTION | (buttonFace ? LR_LOADMAP3DCOLORS : 0);
  return static_cast<HBITMAP>(LoadImageA(ThisModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
}

HICON MainIcon() {
  static const HICON icon = LoadIconA(ThisModule(), "MAINICON");
  return icon;
}
